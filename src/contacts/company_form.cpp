// SPDX-License-Identifier: GPL-3.0-or-later
#include "contacts/company_form.h"

#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "store/options_form.h"

namespace vantrel {

CompanyForm::CompanyForm(Vantrel& app)
    : Form(app.services(), "frmCompany", "Your Company Information", 5400, 4200), app_(app) {
  constexpr int row = 330;
  auto field = [this](const char* box, const char* label, const char* caption, int top, int width) {
    add(ControlKind::Label, label, {240, top + 45, 1440, 270}, caption);
    return &add(ControlKind::TextBox, box, {1740, top, width, row}, "");
  };
  companyName = field("Text1", "Label1", "Business Name", 240, 3000);
  companyStreet = field("Text3", "Label3", "Street Address", 660, 3000);
  companyTown = field("Text4", "Label4", "Town", 1080, 3000);
  companyState = field("Text5", "Label5", "State", 1500, 900);
  companyZip = field("Text6", "Label6", "Zip Code", 1920, 1500);
  companyPhone = field("Text2", "Label2", "Phone Number", 2580, 2100);
  Command1 = &add(ControlKind::CommandButton, "Command1", {3660, 3120, 1080, row}, "Close");

  // Each detail goes straight to the invoice's sender block.
  auto sendsTo = [this](Control* field, Control* InvoiceForm::*target) {
    field->onChange = [this, field, target] {
      setField(*(app_.invoice().*target), field->text());
      typed(*field);
    };
  };
  sendsTo(companyPhone, &InvoiceForm::CompPhone);
  sendsTo(companyStreet, &InvoiceForm::CompAddress1);
  sendsTo(companyTown, &InvoiceForm::CompAddress2);
  sendsTo(companyState, &InvoiceForm::CompAddress3);
  sendsTo(companyZip, &InvoiceForm::CompAddress5);
  // Without a business name there is nothing to head an invoice with: ask for it.
  companyName->onChange = [this] {
    setField(*app_.invoice().Company, companyName->text());
    typed(*companyName);
    if (companyName->text().empty()) show();
  };

  Command1->onClick = [this] {
    hide();
    app_.options().askToSave();
  };
}

// A detail the user typed (the box has the focus; a price list being read never does) is
// a change of the price list, whichever way the window then closes.
void CompanyForm::typed(const Control& field) {
  if (focused() == &field) app_.options().setUnsaved(true);
}

}  // namespace vantrel
