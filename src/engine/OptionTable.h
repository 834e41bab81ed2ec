#pragma once

#include "engine/GenerationOptions.h"
#include "engine/RuleError.h"

#include <QString>
#include <span>

// Every option of the window and of the command line, one row each: what it is, where the window
// keeps and shows it, what screen readers hear of it, how the command line takes it, and the rule
// it sets. The window stack and the command line both read it; it knows no widget.
struct OptionIds
{
    // The window's options first, in the order of their values in the window's options model.
    enum Option
    {
        HowMany,
        MinLength,
        StartLetter,
        EndLetter,
        Folder,
        MaxLength,
        UpperCaseFirst,
        MustStart,
        MustEnd,
        LetterRule,
        MaxBound,
        MinBound,
        LeaveOutOffensive,
        ListOutput,
        FileOutput,
        Layout,
        LetterPosition,
        LetterKind,
        Commonness,
        Kind,
        Spellings,
        Topic,
        Syllables,
        Language,
        WindowOptionCount,
        // The command line's own options, which the window has not.
        CommandLineOnly = WindowOptionCount
    };
};

namespace OptionTable {

using Option = OptionIds::Option;

// How the window shows a value, and so how it is stored: a text, a tick box's state (0 clear,
// 1 ticked, 2 greyed), an option button ("True" or "False"), or a list's entry index. None for
// an option of the command line alone.
enum class Control
{
    None,
    Text,
    Check,
    Choice,
    List
};

// How the command line takes an option given more than once.
enum class Repeat
{
    // A usage error that names the option.
    Never,
    // Every value given must hold.
    AllHold,
    // Any of the values given may hold.
    AnyHolds
};

// One entry of a list that chooses words by a fact: its index in the window's list, its text
// there, its name on the command line (null where it has none), and the rule value it stands for.
struct Choice
{
    int entry;
    const char* shown;
    const char* name;
    int rule;
};

struct Row
{
    Option id;
    // The window: the settings key, the stored value when the store has none (null where the
    // window works it out), the control's kind and object name, whether the status line counts
    // the matching words again when the option changes, and what screen readers hear (a null
    // name: the caption names it).
    const char* key = nullptr;
    const char* defaultValue = nullptr;
    Control control = Control::None;
    const char* controlName = nullptr;
    bool recounts = false;
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
    // The entries of a list that chooses words by a fact, in the command line's order.
    std::span<const Choice> choices = {};
    // What the words must carry for the rule to mean anything (Language::has): a language whose
    // words lack it refuses the option on the command line, and the window greys its list.
    const char* fact = nullptr;
    // The command line: the long name (null where it has none), a one-letter name, the name of
    // its value (null for a switch), the help line and how it takes repeated values.
    const char* name = nullptr;
    char shortName = 0;
    const char* valueName = nullptr;
    const char* help = nullptr;
    Repeat repeat = Repeat::Never;
    // The rule a command-line value sets; null for an option that sets none. Throws RuleError,
    // saying what the value needs.
    void (*setRule)(GenerationOptions& options, const QString& value) = nullptr;
    // For a list that chooses words by a fact: sets the rule to a choice's rule value.
    void (*setChoice)(WordRules& rules, int rule) = nullptr;
};

// Every row, the command line's in the order its help lists them.
std::span<const Row> rows();

// The row of one of the window's options.
const Row& row(Option option);

// The row of a command-line long name, or of a one-letter name; null for none.
const Row* commandLineRow(QStringView name, bool isLong);

// The number a text of decimal digits gives, from 0 to max. Throws RuleError.
quint64 wholeNumber(const QString& value, quint64 max);

// Sets the rule of a command-line value: a choice by its name, any other value by the row's own
// reading. Throws RuleError for a value the rule cannot take.
void setRule(const Row& row, GenerationOptions& options, const QString& value);

// The window's list texts of a row's choices, in the order of the list.
QStringList shownChoices(Option option);

// Sets the rule of the window's list entry; the first entry's for an index out of range.
void setChosenEntry(WordRules& rules, Option option, int entry);

// The entry of a list that stands for a rule value; 0 for none.
int entryOf(Option option, int rule);

} // namespace OptionTable
