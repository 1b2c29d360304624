// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// A lookup of a resource that the document does not hold.
class IffError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
