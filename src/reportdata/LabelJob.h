#pragma once
#include "LabelSheet.h"
#include "PageStream.h"

class TfrmDM;
class TLabelData;
class TReportProject;

// What the label window and velmora-db share: the labels of a record set
// laid out on a sheet by the layout "Etiketten" of the report project.
namespace labeljob {

inline const QString kLayoutName = QStringLiteral("Etiketten");

// Throws EDatabaseError when the project has no label layout or the sheet
// does not fit its paper.
void write(const TReportProject &project, TLabelData &data, const TLabelSheet &sheet, TfrmDM &dm, TPageStream &stream);

// "1 Etikett auf 1 Seite", "30 Etiketten auf 2 Seiten".
QString countText(int labels, qsizetype pages);

} // namespace labeljob
