#pragma once

#include "engine/DescribedError.h"

// A rule that cannot be set or judged as given: a value it cannot take, a letter position below 1,
// rules on word facts for a list without them. Its description is what the user is told.
class RuleError : public DescribedError
{
public:
    using DescribedError::DescribedError;
};
