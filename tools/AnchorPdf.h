#pragma once
// The anchor as one printed page a firm signs and files: "Anker der
// Fingerabdrücke", its lines in German and a line for signature and date.
#include <QByteArray>

struct ChainAnchor;

QByteArray anchorPdf(const ChainAnchor &anchor);
