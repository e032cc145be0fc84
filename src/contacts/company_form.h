// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The issuer's own name, address and telephone number, which head every invoice.
class CompanyForm : public Form {
 public:
  explicit CompanyForm(Vantrel& app);

  Vantrel& app() const { return app_; }

  Control* companyName = nullptr;    // Text1
  Control* companyPhone = nullptr;   // Text2
  Control* companyStreet = nullptr;  // Text3
  Control* companyTown = nullptr;    // Text4
  Control* companyState = nullptr;   // Text5
  Control* companyZip = nullptr;     // Text6
  Control* Command1 = nullptr;       // Close

 private:
  void typed(const Control& field);
  Vantrel& app_;
};

}  // namespace vantrel
