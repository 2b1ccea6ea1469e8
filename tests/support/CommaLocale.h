// SPDX-License-Identifier: GPL-3.0-or-later
// Switches the C library's number format to Czech, whose decimal separator is a comma, for the
// life of the object, as the editor's QApplication does on a Czech desktop.
#pragma once

#include <clocale>
#include <string>

namespace zorvik::test {

class CommaLocale {
  public:
    CommaLocale() : before_(std::setlocale(LC_NUMERIC, nullptr)) {
        active_ = std::setlocale(LC_NUMERIC, "cs_CZ.UTF-8") != nullptr &&
                  std::localeconv()->decimal_point == std::string(",");
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, before_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    // False when cs_CZ.UTF-8 is not installed (scripts/test.sh generates it).
    bool Active() const { return active_; }

  private:
    std::string before_;
    bool active_ = false;
};

}  // namespace zorvik::test
