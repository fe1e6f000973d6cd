#include "data/steps.h"

// Built into every test program: an exception that is not a step's own failure fails the test.
namespace {
[[maybe_unused]] const bool strict = [] {
    tomarina::set_strict_steps(true);
    return true;
}();
} // namespace
