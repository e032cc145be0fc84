// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "documents/document_output.h"
#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The invoice window: the job as a one-page A4 bill. The hours, amounts, total, customer and
// company fields follow the job as it changes; the names, rates and the customer's address
// are filled when the invoice is viewed, printed or exported.
class InvoiceForm : public Form {
 public:
  explicit InvoiceForm(Vantrel& app);

  Vantrel& app() const { return app_; }

  void view();       // View Invoice
  void print();      // Print Invoice: the hidden Command1
  void exportPdf();  // Export Invoice as PDF...

  // The fields filled just before the invoice is shown, printed or exported.
  void fill();
  // The printed page on a printer with this printable area, laid out in centimetres from
  // an A4 sheet's corner with the area assumed centred on it.
  Page page(const PrintArea& area);

  std::array<Control*, 8> categoryName{};  // Label7..Label13
  std::array<Control*, 8> rate{};          // Text1..Text7
  std::array<Control*, 8> amount{};        // Text8..Text14
  std::array<Control*, 8> hours{};         // Text17..Text23
  Control* totalHours = nullptr;           // Text15, below the visible area, never printed
  Control* total = nullptr;                // Text16
  Control* currency = nullptr;             // Label32, the sign before the total
  Control* Invoicenum = nullptr;           // the invoice number
  Control* dt = nullptr;                   // the day the job's date last changed
  Control* Name1 = nullptr;                // the customer
  Control* Project = nullptr;              // the project's name
  // The customer's address: the job's, or the card's where the job has none.
  Control* Address = nullptr;  // street
  Control* Text24 = nullptr;   // state
  Control* Text25 = nullptr;   // postcode
  Control* Text26 = nullptr;   // city
  Control* Phone = nullptr;    // the customer's phone
  Control* Company = nullptr;  // the sender: the issuer's details
  Control* CompPhone = nullptr;
  Control* CompAddress1 = nullptr;  // street
  Control* CompAddress2 = nullptr;  // town
  Control* CompAddress3 = nullptr;  // state
  Control* CompAddress5 = nullptr;  // zip code
  Control* Command1 = nullptr;      // hidden: the printout

 private:
  void design();
  void printOut();
  WriteResult writePdf(const std::string& path);

  Vantrel& app_;
  DocumentOutput output_;
};

// The web address in the invoice's footer.
inline constexpr const char* kProductAddress = "www.vantrel.app";

}  // namespace vantrel
