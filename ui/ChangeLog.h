#pragma once

#include <QLoggingCategory>

// With QT_LOGGING_RULES="tapetor.changes.debug=true" the program tells when a change is
// asked for and when every change asked for has reached the desktop: a script, or a
// test, then knows the changes are over without watching the screen for a while.
Q_DECLARE_LOGGING_CATEGORY(lcChanges)
