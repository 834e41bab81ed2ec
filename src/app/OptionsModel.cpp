#include "app/OptionsModel.h"

#include "app/SettingsKeys.h"

void OptionsModel::setText(Option option, const QString& text)
{
    setEntry(option, m_values[option].state, text);
}

void OptionsModel::setState(Option option, int state)
{
    setEntry(option, state, m_values[option].text);
}

void OptionsModel::setEntry(Option option, int index, const QString& text)
{
    Value& value = m_values[option];
    if (value.state == index && value.text == text)
        return;
    value.state = index;
    value.text = text;
    emit changed(option);
}

const QString& OptionsModel::keyOf(Option option)
{
    using namespace SettingsKeys;
    static const std::array<const QString*, OptionCount> keys { &howMany, &text2, &startLetter,
        &endLetter, &text5, &text6, &check1, &check2, &check3, &check4, &check5, &check6, &option7,
        &option8, &combo, &nthLetter, &letterMustBe };
    return *keys[option];
}

bool OptionsModel::isWordRule(Option option)
{
    switch (option) {
    case HowMany:
    case Folder:
    case UpperCaseFirst:
    case ListOutput:
    case FileOutput:
    case Layout:
        return false;
    default:
        return true;
    }
}
