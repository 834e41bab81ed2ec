#pragma once

#include <QString>

namespace ErrorBoxText {

// "in Tessavine2021/08/31.Form1.<handler> ", the location a guarded handler reports.
QString location(const QString& handler);

// The error box's message: description, CR LF, location, "at line ", step, CR CR, request.
QString message(
    const QString& description, const QString& location, int step, const QString& supportAddress);

// The address built into the program.
QString supportAddress();

} // namespace ErrorBoxText
