#pragma once

#include "engine/PlatformError.h"

#include <QString>
#include <exception>
#include <functional>
#include <utility>

// Runs the numbered steps of a command. A step that fails is reported in the error box with its
// number, and the command goes on with the next step.
class StepGuard
{
public:
    using Reporter = std::function<void(const QString& message)>;

    StepGuard(Reporter reporter, const QString& handler);

    // Runs one step; false when it failed (and was reported).
    template <typename F> bool step(int number, F&& action)
    {
        begin(number);
        try {
            std::forward<F>(action)();
            return true;
        } catch (const DescribedError& error) {
            report(error.description());
        } catch (const std::exception& error) {
            report(QString::fromLocal8Bit(error.what()));
        }
        return false;
    }

    // A test that guards steps of its own: a failed test counts as held.
    template <typename F> bool test(int number, F&& condition)
    {
        bool result = true;
        step(number, [&] { result = std::forward<F>(condition)(); });
        return result;
    }

    // A test that only decides a jump: a failed test does not jump.
    template <typename F> bool jumpTest(int number, F&& condition)
    {
        bool result = false;
        step(number, [&] { result = std::forward<F>(condition)(); });
        return result;
    }

    // The number of the step begun last.
    int current() const { return m_current; }
    // How many steps have failed so far.
    int failures() const { return m_failures; }

private:
    void begin(int number) { m_current = number; }
    void report(const QString& description);

    Reporter m_reporter;
    QString m_location;
    int m_current = 0;
    int m_failures = 0;
};
