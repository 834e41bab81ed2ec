#pragma once

#include "engine/DescribedError.h"

// A failure of an outside service. Its description is what the error box shows, unchanged.
class PlatformError : public DescribedError
{
public:
    using DescribedError::DescribedError;
};
