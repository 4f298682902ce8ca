// section_specials.cpp - the readers and writers of the sections that do
// more than copy fields (items, purchases, orders, budgets, assets, form
// definitions, old customers). Not built yet: the field lists name none.
