// The restore conversions and the application title: a stored string gives a value the control
// accepts or one of the documented failures, never anything else; the title is the name cut at
// blanks.
#include "FuzzSupport.h"
#include "engine/NumericText.h"
#include "engine/PlatformError.h"
#include "app/ApplicationTitle.h"
#include "app/RestoreConversions.h"

#include <QStringList>
#include <cmath>
#include <functional>
#include <optional>

namespace {

// The conversion's value, or the description of its failure.
template <typename T>
std::pair<std::optional<T>, QString> attempt(const std::function<T()>& convert)
{
    try {
        return { convert(), QString() };
    } catch (const PlatformError& error) {
        return { std::nullopt, error.description() };
    }
}

void checkConversions(const QString& stored, int count)
{
    namespace rc = RestoreConversions;
    static const QStringList failures { QStringLiteral("Type mismatch"), QStringLiteral("Overflow"),
        QStringLiteral("Invalid property value") };
    const auto number = NumericText::value(stored);

    const auto [integer, integerFailure] = attempt<int>([&] { return rc::toInteger16(stored); });
    if (!number) {
        Fuzz::check(
            integerFailure == failures[0], "a text that is no number is a type mismatch", stored);
    } else if (std::fabs(*number) < 32767.5) {
        Fuzz::check(integer == NumericText::roundHalfEven32(*number),
            "a 16-bit number is rounded halves to even", stored);
    } else if (std::fabs(*number) > 32768.5) {
        Fuzz::check(integerFailure == failures[1], "a number beyond 16 bits overflows", stored);
    }

    const auto [state, stateFailure] = attempt<int>([&] { return rc::toCheckState(stored); });
    Fuzz::check(state ? *state >= 0 && *state <= 2 : failures.contains(stateFailure),
        "a check state is 0, 1 or 2", stored);
    const auto [twoState, twoStateFailure]
        = attempt<int>([&] { return rc::toTwoStateCheck(stored); });
    Fuzz::check(twoState ? *twoState >= 0 && *twoState <= 1 : failures.contains(twoStateFailure),
        "a two-state check is 0 or 1", stored);
    const auto [index, indexFailure] = attempt<int>([&] { return rc::toListIndex(stored, count); });
    Fuzz::check(index ? *index >= -1 && *index < count : failures.contains(indexFailure),
        "a list index lies within the list", stored);
    const auto [flag, flagFailure] = attempt<bool>([&] { return rc::toBoolean(stored); });
    if (number)
        Fuzz::check(flag == (*number != 0.0), "a number is true unless it is 0", stored);
    else if (!flag)
        Fuzz::check(flagFailure == failures[0], "a boolean fails only as a type mismatch", stored);
}

void checkTitle(const QString& name)
{
    const QString title = applicationTitle(name);
    if (!name.contains(QLatin1Char(' '))) {
        Fuzz::check(title == name, "a name without a blank is used whole", name);
        return;
    }
    Fuzz::check(name.startsWith(title) && title.size() < name.size()
            && name[title.size()] == QLatin1Char(' '),
        "the title is the name cut before a blank", name);
    Fuzz::check(title.size() <= 40 || !title.contains(QLatin1Char(' ')),
        "a title longer than 40 has no blank left to cut at", name);
    // A second or later cut was made from the title one blank longer, which was over 40.
    if (title.size() != name.lastIndexOf(QLatin1Char(' ')))
        Fuzz::check(name.indexOf(QLatin1Char(' '), title.size() + 1) > 40,
            "a title is cut again only while longer than 40", name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int count = input.ConsumeIntegralInRange<int>(0, 40);
    const QString text = input.ConsumeBool()
        ? Fuzz::numberLikeText(input, NumericText::localeDecimalPoint())
        : Fuzz::takeText(input, 1024);
    checkConversions(text, count);
    checkTitle(text);
    return 0;
}
