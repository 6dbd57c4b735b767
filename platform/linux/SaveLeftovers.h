#pragma once

#include <QString>

// A save of the settings file that is killed part-way leaves its lock file behind (empty
// when the kill came between its creation and the writing of the owner's process id) and
// the temporary copy it was writing. Qt waits half a minute before it breaks an empty
// lock, and nothing removes the copies, so both are cleared before every save.

// Removes the lock file at lockPath when no living process owns it: its owner's process
// has ended, or it names no owner at all and is not being created this instant. Returns
// whether it was removed.
bool removeStaleLock(const QString& lockPath);

// Removes the lock of savedFile (savedFile + ".lock") when it is stale, then the
// temporary copies (savedFile + "." + six letters or digits) of saves no longer running.
void clearLeftoversOfKilledSaves(const QString& savedFile);
