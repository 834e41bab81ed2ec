#pragma once

#include <QString>

// Conversions of stored strings into control values. Each throws PlatformError when the string
// does not convert or gives a value the control refuses.
namespace RestoreConversions {

// A 16-bit whole number, rounded halves to even ("Type mismatch", "Overflow").
int toInteger16(const QString& stored);

// A check box state: 0 clear, 1 ticked, 2 greyed (which only the store gives; a click never
// leads back to it).
int toCheckState(const QString& stored);

// The state of a box of two states, 0 clear or 1 ticked: the greyed state is refused.
int toTwoStateCheck(const QString& stored);

// "True", "False" (any case) or a number, 0 meaning false.
bool toBoolean(const QString& stored);

// A list index from -1 (no selection) to count - 1.
int toListIndex(const QString& stored, int count);

// The index of an entry, 0 to count - 1, for a list that always shows one.
int toEntryIndex(const QString& stored, int count);

} // namespace RestoreConversions
