// The messages the calculators show, named by their string identifiers in the
// program's resources (res/mirabo.rc holds the texts); each with a stable
// lowercase name that front ends may print for scripts to branch on.
#pragma once

#include <string_view>

#include "res/resource.h"

namespace mirabo {

inline constexpr int MSG_MISSING_INPUT = IDS_MISSING_INPUT;
inline constexpr int MSG_NEGATIVE_NOT_ALLOWED = IDS_NEGATIVE_NOT_ALLOWED;
inline constexpr int MSG_CALC_EXCEPTION = IDS_CALC_EXCEPTION;
inline constexpr int MSG_CONFIRM_NONFINITE = IDS_CONFIRM_NONFINITE;

struct MessageName {
    int id;
    std::string_view name;
};

inline constexpr MessageName kMessageNames[] = {
    {MSG_MISSING_INPUT, "missing_input"},
    {MSG_NEGATIVE_NOT_ALLOWED, "negative_not_allowed"},
    {MSG_CALC_EXCEPTION, "calc_exception"},
    {MSG_CONFIRM_NONFINITE, "confirm_nonfinite"},
};

// The message's stable name; empty for an identifier that names no message.
constexpr std::string_view MessageNameOf(int id) {
    for (const MessageName& message : kMessageNames) {
        if (message.id == id) return message.name;
    }
    return {};
}

}  // namespace mirabo
