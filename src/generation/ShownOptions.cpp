#include "generation/ShownOptions.h"

#include "engine/NumericText.h"
#include "window/Form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace ShownOptions {

bool ticked(const QCheckBox* box)
{
    return box->checkState() == Qt::Checked;
}

QString letterPosition(const QString& combo2Text)
{
    if (combo2Text == QLatin1String("last"))
        return combo2Text;
    static const QStringList ordinals { QStringLiteral("1st"), QStringLiteral("2nd"),
        QStringLiteral("3rd"), QStringLiteral("4rd") };
    const qsizetype ordinal = ordinals.indexOf(combo2Text);
    return ordinal >= 0 ? QString::number(ordinal + 1)
                        : NumericText::wholeNumberText(NumericText::leadingNumber(combo2Text));
}

WordRules rules(const Form1& form, std::optional<int> letterPosition)
{
    WordRules rules;
    if (ticked(form.Check2))
        rules.start = form.Text3->text();
    if (ticked(form.Check3))
        rules.end = form.Text4->text();
    if (ticked(form.Check4)) {
        LetterRule letter { letterPosition, LetterRule::Letter, form.Combo3->currentText() };
        if (letter.letter == QLatin1String("[vowel]"))
            letter.kind = LetterRule::Vowel;
        else if (letter.letter == QLatin1String("[consonant]"))
            letter.kind = LetterRule::Consonant;
        rules.letter = letter;
    }
    return rules;
}

} // namespace ShownOptions
