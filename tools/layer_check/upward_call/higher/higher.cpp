// higher.cpp - the higher layer: it defines what the lower one wrongly
// calls, and calls down itself, which is allowed.
int LowerTwice(int amount);

int HigherRate() { return 25; }

int HigherSum(int amount) { return LowerTwice(amount); }
