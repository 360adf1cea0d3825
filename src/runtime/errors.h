#pragma once

#include <stdexcept>

namespace runtime {

// The two errors the calculations can raise. Callers either let them end the
// running handler or report them; nothing else is ever thrown on purpose.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value left the range of the integer type it was converted to, or a number
// typed as text lies beyond the range of a double.
class OverflowError : public RuntimeError {
public:
    OverflowError() : RuntimeError("overflow") {}
};

// An IEEE operation gave invalid operation, division by zero or overflow.
class FloatingPointError : public RuntimeError {
public:
    FloatingPointError() : RuntimeError("floating-point error") {}
};

}  // namespace runtime
