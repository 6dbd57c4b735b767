#pragma once

#include <QString>

class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    // Ends the event loop; the caller returns to it right after.
    virtual void exit(int code) = 0;
    // Starts another program on its own; false when it could not be started.
    virtual bool startDetached(const QString& program) = 0;
};
