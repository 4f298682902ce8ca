// lower.cpp - a lower layer that calls up into the higher one: the call
// its link check must refuse. Nothing calls LowerTotal, as nothing calls
// most of a real layer from the check's main.
int HigherRate();

int LowerTotal(int amount) { return amount * HigherRate(); }

// A call within the layer, which its check must accept.
int LowerTwice(int amount) { return LowerTotal(amount) + LowerTotal(amount); }
