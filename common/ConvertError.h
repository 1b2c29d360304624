// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// The one error type of the conversions: an overflow or a character that is not a digit
// of the expected base. Callers that feed untrusted text catch it.
class ConvertError : public std::runtime_error
{
public:
    enum class Kind { Overflow, TypeMismatch };
    ConvertError(Kind kind, const std::string& what) : std::runtime_error(what), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
