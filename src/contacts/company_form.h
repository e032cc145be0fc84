// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The issuer's own name, address and telephone number, which head every invoice, and the
// details an invoice must carry in many countries: tax number or VAT ID, e-mail and bank.
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
  Control* txtEmail = nullptr;
  Control* txtCountry = nullptr;
  Control* txtTaxNo = nullptr;
  Control* txtVatId = nullptr;
  Control* txtHolder = nullptr;  // the bank account's holder
  Control* txtIban = nullptr;
  Control* txtBic = nullptr;
  Control* Command1 = nullptr;  // Close

  // The details only invoices need, beyond the name, address and phone.
  std::vector<Control*> detailFields() const;

 private:
  void typed(const Control& field);
  Vantrel& app_;
};

}  // namespace vantrel
