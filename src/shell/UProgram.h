#pragma once
#include <QStringList>

// Creates the data module and the windows that live for the whole run, in
// their fixed order, and destroys them in the reverse order.
class TProgram {
public:
    TProgram() = default;
    ~TProgram() { destroy(); }
    TProgram(const TProgram &) = delete;
    TProgram &operator=(const TProgram &) = delete;

    void create();
    void destroy();
};
