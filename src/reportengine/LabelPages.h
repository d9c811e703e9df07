#pragma once
#include "LabelSheet.h"
#include "PageStream.h"
#include "ReportProject.h"
#include <QMap>

class TDataSet;

// Lays out a label layout: one label (its detail band) per record of the
// detail connection, each scaled evenly to fit its cell of the sheet and
// centred in it, cell after cell from the sheet's first free position on
// and on as many sheets as they need. The pages have the sheet's paper
// and no margin of their own: the sheet places the labels.
void writeLabelPages(const TReportLayout &layout, const TLabelSheet &sheet, const QMap<QString, TDataSet *> &connections,
                     const QMap<QString, QString> &parameters, TPageStream &stream);
