#pragma once

#include <QStringList>
#include <optional>

// What the window program does before and around making its application object, as a command
// line program would: answer --help and --version without a window, refuse what it does not know,
// and end with one line and status 1 when no display can be reached instead of Qt's abort.
namespace ProgramStart {

// --help or --version anywhere before "--": prints the answer; the status to end with, if any.
std::optional<int> answerInformationRequest(int argc, char** argv);

// The arguments Qt left after taking its own: the program knows none, so any is refused with
// status 2.
std::optional<int> refuseUnknownArguments(const QStringList& arguments);

// Alive while the application object is made from these arguments. Qt's warnings meanwhile are
// held back; a display that cannot be reached ends the program with one line and status 1 (2
// when an argument is unknown), otherwise they are passed on when the guard goes.
class DisplayGuard
{
public:
    DisplayGuard(int argc, char** argv);
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

} // namespace ProgramStart
