// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/translation.h"
#include "invoice/tax_panel.h"
#include "platform/file_dialog.h"
#include "platform/form.h"

namespace vantrel {

class Vantrel;

// The customer window. Its upper half is a card, one customer's details, kept in a customer
// file of its own; its lower half holds the job's customer data, which travels with the
// project file and heads the job sheet, the invoice and the report.
class CustomerForm : public Form {
 public:
  explicit CustomerForm(Vantrel& app);
  void load() override;

  Vantrel& app() const { return app_; }

  static constexpr const char* kFilter = "Customer(*.pcp)|*.pcp";
  static constexpr const char* kHelpPage = "help9.htm";

  // The card
  Control* customerName = nullptr;      // txtName
  Control* customerAddress = nullptr;   // txtAddress
  Control* customerCity = nullptr;      // Text8
  Control* customerState = nullptr;     // Text9
  Control* customerZip = nullptr;       // Text12
  Control* customerPhone = nullptr;     // txtPhone
  Control* customerEmail = nullptr;     // txtEmail
  Control* customerFilePath = nullptr;  // Text78, hidden
  Control* txtCountry = nullptr;
  Control* txtVatId = nullptr;
  // optEnglish, optGerman, optFrench: the card's language; txtLanguage (hidden) holds its
  // code ("de") once chosen, and is empty while the card follows the program's language.
  std::array<Control*, 3> languageOptions{};
  Control* txtLanguage = nullptr;

  // The job's customer data
  Control* projectCustomer = nullptr;  // Text1
  Control* projectName = nullptr;      // Text2
  Control* projectDate = nullptr;      // Text3
  Control* invoiceNumber = nullptr;    // Text4
  Control* projectAddress = nullptr;   // Text5, hidden
  Control* projectPhone = nullptr;     // Text6, hidden
  Control* projectEmail = nullptr;     // Text7, hidden
  Control* projectCity = nullptr;      // Text10, hidden
  Control* projectState = nullptr;     // Text11, hidden
  Control* projectZip = nullptr;       // Text13, hidden
  Control* DTPicker1 = nullptr;
  Control* jobCountry = nullptr;  // txtJobCountry, hidden
  Control* jobVatId = nullptr;    // txtJobVatId, hidden
  Control* jobLanguage = nullptr;  // txtJobLanguage, hidden: the card's language, as a code
  // The day the job's invoice was first printed or exported (YYYY-MM-DD), hidden; empty
  // until then.
  Control* txtIssued = nullptr;
  // The period of the work as the invoice states it: the work log's while the user has
  // typed none.
  Control* txtPeriod = nullptr;
  TaxPanel tax;  // the job's treatment: the Options' default until the user sets one

  Control* customerStatus = nullptr;  // Label10
  Control* cmdAddNew = nullptr;       // Open
  Control* cmdSave = nullptr;         // Save
  Control* cmdDelete = nullptr;       // Clear
  Control* Command4 = nullptr;        // New
  Control* Command3 = nullptr;        // Add to project
  Control* Command5 = nullptr;        // the project's Clear
  Control* Command1 = nullptr;        // Close
  Control* Command7 = nullptr;        // "?"

  // The card in file order: name, phone, e-mail, address, city, state, zip code.
  std::vector<Control*> cardFields() const;

  void open();
  void save();
  void clearCard();
  void addToProject();
  void clearProject();
  // Empties the job's customer, project name, date and invoice number, as a job is cleared.
  // Call it before the job's file is forgotten: emptying these is a change that asks for a
  // new file while the job has none.
  void clearJobHeading();

  // The job's invoice details as its file's section holds them, and read back; a job
  // whose file has none takes the defaults.
  // The language of the job's invoice and report: the job's, else the card's, else the
  // program's.
  Language documentLanguage() const;
  void showLanguage();
  std::vector<std::string> invoiceSection() const;
  void readInvoiceSection(const std::vector<std::string>& lines);
  // The Options' tax treatment changed: a job without a treatment of its own follows it.
  void defaultTaxChanged();
  // Whether the user typed the period (else it follows the work log).
  bool periodTyped() const { return periodTyped_; }

 private:
  void design();
  void wire();
  void emptyCard();
  void close();
  void propagate(Control& field, Control* reportField, Control* invoiceField, Control* sheetField);
  void resetInvoiceDetails();
  Vantrel& app_;
  FileDialog dialog_;  // shared by Open and Save
  bool taxOwn_ = false;
  bool periodTyped_ = false;
  bool showingLanguage_ = false;
};

// The card as the lines of a customer file, in file order: the seven, then the country and
// VAT ID as "Country=..." and "VatId=..." where the card has them.
std::vector<std::string> customerLines(const CustomerForm& form);

// Reads a customer file into the card, line by line in file order; a missing file or line
// leaves its fields as they are.
void readCustomer(CustomerForm& form, const std::string& path);

}  // namespace vantrel
