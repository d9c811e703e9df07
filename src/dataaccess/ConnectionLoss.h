#pragma once
// A server that went away (stopped, crashed, the network cut) while the
// program was attached: the engine's English texts say nothing a user can
// act on, and whoever shows the connection's state must learn of it.
#include <QList>
#include <QString>
#include <functional>

// Whether the engine's codes say that an established connection broke.
bool isConnectionLoss(const QList<qint64> &engineCodes);
QString connectionLossText();

// Called on the program's main thread after a statement failed because the
// connection broke; one handler, set by whoever shows the state.
void setConnectionLossHandler(std::function<void()> handler);
void reportConnectionLoss();
