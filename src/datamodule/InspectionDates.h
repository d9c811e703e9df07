#pragma once
// The dates of an inspection being entered: the next date follows the
// inspection date (plus the device's interval) until the user sets it by
// hand in that edit, and a date in the future is stored only when the user
// confirms it. Office work enters yesterday's paper notes, so a typed date
// must move the next date as the spin buttons do.
#include <functional>

class TDataSet;

// Hooks the rule into the inspection record set's date fields and its new-row
// and edit events (after handlers already there); months gives the current
// device's interval.
void followInspectionDate(TDataSet &inspections, std::function<int()> months);

// Before a post: asks about an inspection date after today; "Nein" aborts
// silently and the record stays in editing.
void confirmInspectionDate(TDataSet &inspections);
