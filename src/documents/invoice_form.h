// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <map>
#include <vector>

#include "documents/document_output.h"
#include "documents/paper_controls.h"
#include "platform/form.h"
#include "platform/translation.h"

namespace vantrel {

class Vantrel;
struct InvoiceContent;
struct IssuedInvoice;

// The invoice window: the job as an A4 bill. The hours, amounts, total, customer and
// company fields follow the job as it changes; the names, rates and the customer's address
// are filled when the invoice is viewed, printed or exported. With the issuer's or the
// customer's tax details, a tax treatment, payment terms or the work log set, the invoice
// carries them too, leaves out the categories that bill nothing, and the work log may follow
// on pages of its own.
class InvoiceForm : public Form {
 public:
  explicit InvoiceForm(Vantrel& app);

  Vantrel& app() const { return app_; }

  void view();       // View Invoice
  void print();      // Print Invoice: the hidden Command1
  void exportPdf();  // Export Invoice as PDF...

  // The register of issued invoices, beside the price list.
  std::string registerFile() const;

  // The fields filled just before the invoice is shown, printed or exported.
  void fill();
  // The details and the layout that carries them, as they stand now.
  void showDetails();
  // Captions, dates and figures in this language: the customer's.
  void speak(Language language);
  Language language() const { return paper_.language(); }
  // A detail changed: shown at once where the invoice is on screen or carries details
  // already, else when it is next viewed, printed or exported (so a start that reads the
  // price list creates no window for it).
  void detailsChanged();
  // The date: the day the invoice was first issued, else the day the job's date changed.
  void showDate();
  // That day as YYYY-MM-DD; empty while the invoice has no date.
  const std::string& dateIso() const { return dateIso_; }
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

  // The details, shown where they are set.
  Control* CompEmail = nullptr;  // the issuer's e-mail address
  Control* CompTaxId = nullptr;  // "VAT ID ..." or "Tax No. ..."
  Control* CustCountry = nullptr;
  Control* CustVatId = nullptr;
  Control* Due = nullptr;       // the due date
  Control* Period = nullptr;    // the period of the work
  Control* lblTax = nullptr;    // "VAT 19 %"
  Control* txtTax = nullptr;    // its amount
  Control* lblGross = nullptr;  // "Total due"
  Control* lblDue = nullptr;
  Control* lblPeriod = nullptr;
  Control* txtGross = nullptr;
  Control* Bank = nullptr;    // holder, IBAN, BIC
  Control* Note = nullptr;    // why no VAT is charged
  Control* chkLog = nullptr;  // "Work log": the work entries on pages of their own
 private:
  void design();
  void printOut();
  WriteResult writePdf(const std::string& path);
  // Before a document leaves: the number proposed where there is none.
  void proposeNumber();
  // The questions an invoice asks before it is issued; false when the user says no.
  bool issueConfirmed();
  // After it left: the day kept and the register told.
  void issued();
  // This invoice's line in the register.
  IssuedInvoice record(const InvoiceContent& content);
  void detailedPage(Page& p, const PrintArea& area, const InvoiceContent& c);
  void layout(const InvoiceContent& c);
  // Whether category i bills anything: an amount, or hours.
  bool bills(int i) const;

  Vantrel& app_;
  DocumentOutput output_;
  // Where each control stands on the plain invoice; the detailed one moves them from there.
  std::map<Control*, Geometry> plain_;
  PaperLanguage paper_;               // its captions and figures in the customer's language
  std::array<Control*, 8> at_{};      // a row's "@"
  std::array<Control*, 8> equals_{};  // a row's "="
  Control* totalLabel_ = nullptr;
  Control* phoneLabel_ = nullptr;
  Control* frame_ = nullptr;
  std::array<Control*, 2> boxes_{};   // the customer's and the issuer's
  std::array<Control*, 2> footer_{};  // the line naming the program, and its address
  bool detailed_ = false;
  std::string dateIso_;
};

// The page is laid out for an A4 sheet, with a 1 cm left and a 1.5 cm top margin.
inline constexpr double kSheetWidth = 21.0;
inline constexpr double kSheetHeight = 29.7;

// The web address in the invoice's footer.
inline constexpr const char* kProductAddress = "www.vantrel.app";

}  // namespace vantrel
