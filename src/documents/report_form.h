// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "documents/document_output.h"
#include "documents/paper_controls.h"
#include "platform/form.h"
#include "platform/translation.h"

namespace vantrel {

class Vantrel;

// The report window: a one-page summary of the job, printed as a page drawn the way the
// window shows it. Its category names are the labels as they stand when the window is made.
class ReportForm : public Form {
 public:
  explicit ReportForm(Vantrel& app);
  void load() override;

  Vantrel& app() const { return app_; }

  void view();       // View Report
  void print();      // Print Report: no question, shown or not
  void exportPdf();  // Export Report as PDF...

  // The printed page on a printer with this printable area, in centimetres from its corner.
  Page page(const PrintArea& area);
  // Captions and figures in this language: the customer's.
  void speak(Language language);

  std::array<Control*, 8> categoryName{};  // Label1, Label4..Label9
  std::array<Control*, 8> hours{};         // Text1, Text3, .. Text13
  std::array<Control*, 8> cost{};          // Text2, Text4, .. Text14
  Control* totalHours = nullptr;           // Text15
  Control* totalCost = nullptr;            // Text16
  Control* date = nullptr;                 // Text20
  Control* invoiceNumber = nullptr;        // Text17
  Control* customer = nullptr;             // Text18
  Control* project = nullptr;              // Text19

 private:
  WriteResult writePdf(const std::string& path);

  Vantrel& app_;
  DocumentOutput output_;
  PaperLanguage paper_;  // its captions and figures in the customer's language
};

}  // namespace vantrel
