#pragma once
#include "Attention.h"
#include "DataSetModel.h"

// How a device's attention is shown wherever devices are listed: the most
// urgent mark gives the colour, every mark adds its symbol, and the tooltip
// names each reason (never colour alone).
TRowMark attentionRowMark(const TAttention &attention);
