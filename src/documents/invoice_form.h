#pragma once

#include <array>

#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The invoice window: the job as a bill. Several fields follow the job sheet as it changes.
class InvoiceForm : public Form {
 public:
  explicit InvoiceForm(Vantrel& app);

  Vantrel& app() const { return app_; }

  std::array<Control*, 8> categoryName{};  // Label7..Label13
  std::array<Control*, 8> rate{};          // Text1..Text7
  std::array<Control*, 8> amount{};        // Text8..Text14
  std::array<Control*, 8> hours{};         // Text17..Text23
  Control* totalHours = nullptr;           // Text15
  Control* total = nullptr;                // Text16
  Control* Invoicenum = nullptr;           // the invoice number
  Control* dt = nullptr;                   // the date the invoice is made
  Control* Name1 = nullptr;                // the customer
  Control* Project = nullptr;              // the project's name
  Control* Address = nullptr;              // the customer's address
  Control* Phone = nullptr;                // the customer's phone
  Control* Company = nullptr;              // the sender: the issuer's details
  Control* CompPhone = nullptr;
  Control* CompAddress1 = nullptr;  // street
  Control* CompAddress2 = nullptr;  // town
  Control* CompAddress3 = nullptr;  // state
  Control* CompAddress5 = nullptr;  // zip code

 private:
  Vantrel& app_;
};

}  // namespace vantrel
