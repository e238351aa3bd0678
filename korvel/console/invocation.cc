#include "korvel/console/invocation.h"

namespace korvel {

namespace {
std::string invoked_as;
}  // namespace

void set_invocation_path(std::string_view first_word) { invoked_as = first_word; }

const std::string& invocation_path() { return invoked_as; }

}  // namespace korvel
