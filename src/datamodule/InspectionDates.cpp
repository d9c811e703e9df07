#include "InspectionDates.h"
#include "Clock.h"
#include "DataSet.h"
#include "DbError.h"
#include "Dialogs.h"
#include "UDM.h"
#include <memory>

namespace {

// Whether the user set the next date himself in this edit, and whether the
// rule is setting it right now (which is not the user's doing).
struct NextDateState {
    bool byHand = false;
    bool setting = false;
};

// Runs first the handler that was there, then the added one.
void chain(TDataSet::Event &event, const TDataSet::Event &added)
{
    event = [before = event, added](TDataSet &d) {
        if (before)
            before(d);
        added(d);
    };
}

} // namespace

void followInspectionDate(TDataSet &inspections, std::function<int()> months)
{
    auto state = std::make_shared<NextDateState>();
    TField *date = inspections.fieldByName(QStringLiteral("PRUEFDATUM"));
    TField *next = inspections.fieldByName(QStringLiteral("NEXT_PRUEFDATUM"));
    date->onChange = [state, &inspections, date, next, months](TField &) {
        if (state->byHand || date->isNull() || !inspections.editing())
            return;
        state->setting = true;
        try {
            next->setAsDateTime(nextInspectionDate(date->asDateTime().date(), months()));
        } catch (...) {
            state->setting = false;
            throw;
        }
        state->setting = false;
    };
    next->onChange = [state](TField &) { state->byHand = state->byHand || !state->setting; };
    chain(inspections.onNewRecord, [state](TDataSet &) { *state = NextDateState{}; });
    // An edited inspection whose stored next date is not its interval's was
    // set by hand when it was entered, and keeps it.
    chain(inspections.afterEdit, [state, date, next, months](TDataSet &) {
        *state = NextDateState{};
        state->byHand = !next->isNull() && !date->isNull() &&
                        next->asDateTime().date() != nextInspectionDate(date->asDateTime().date(), months()).date();
    });
}

void confirmInspectionDate(TDataSet &inspections)
{
    const TField *date = inspections.fieldByName(QStringLiteral("PRUEFDATUM"));
    if (date->isNull() || date->asDateTime().date() <= TClock::today())
        return;
    if (dialogs().ask(QStringLiteral("Das Prüfdatum liegt in der Zukunft. Trotzdem speichern?"), IDialogs::Buttons::YesNo) !=
        IDialogs::Answer::Yes)
        abortSilently();
}
