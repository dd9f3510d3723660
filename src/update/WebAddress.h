// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What counts as a web address here: "http://" or "https://" (any case), a host right
// after it, and no blank or control character anywhere. Addresses come from
// configuration and from the update service's answers, so nothing else is taken.
#include <string_view>

namespace update {

bool IsWebAddress(std::string_view address);
// A web address on "https://": the only kind the update check asks or offers, since a
// plain one lets anyone on the way read the question and change the answer.
bool IsSecureWebAddress(std::string_view address);

}  // namespace update
