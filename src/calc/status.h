#pragma once

#include <string_view>

#include "calc/recalculation.h"
#include "runtime/errors.h"

namespace calc {

// What running a calculation came to, an error included: the one place where
// a raised error becomes something a front end can show and a script can read.
enum class Status { Written, Skipped, Overflow, FloatingPoint };

// Runs a calculation to its end or to its error. The fields written before an
// error keep their texts, as the calculation left them.
template <typename Calculation>
Status run(Calculation&& calculation) {
    try {
        return calculation() == Outcome::Written ? Status::Written : Status::Skipped;
    } catch (const runtime::OverflowError&) {
        return Status::Overflow;
    } catch (const runtime::FloatingPointError&) {
        return Status::FloatingPoint;
    }
}

// As scripts read it (manacalc-cli --batch): never translated.
constexpr std::string_view statusName(Status status) {
    switch (status) {
        case Status::Written:
            return "ok";
        case Status::Skipped:
            return "skipped";
        case Status::Overflow:
            return "overflow";
        case Status::FloatingPoint:
            return "floating-point";
    }
    return "";
}

}  // namespace calc
