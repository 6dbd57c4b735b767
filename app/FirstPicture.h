#pragma once

#include <QString>

struct PlatformServices;

// The logon run and `--next` end once their changes are made, so the first picture is
// what their user waits for. Which picture that is follows from the stored options, the
// collection file and the record of the picture last shown, all known before the window
// exists: its decode starts here, and runs while the window is built and loads the
// same collection. The change then takes the decoded picture instead of decoding it;
// so does the logon run's second change, whose picture is decoded beside it. Nothing is
// prepared when the pick is left to chance (it depends on the moment of the change) or
// when the history decides it.
void prepareFirstPicture(const PlatformServices& services, const QString& argumentText);
