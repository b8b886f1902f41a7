#pragma once
// The wording of the companion readiness questions, shown in a "提示" box
// with 确定/取消.

#include <QString>

#include "maplink/companion_readiness.h"

QString CompanionQuestionText(ReadinessQuestion question, ReadinessPurpose purpose);

// The notice when the started companion has not begun to listen in time.
QString CompanionNotListeningText();
