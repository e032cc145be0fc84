// SPDX-License-Identifier: GPL-3.0-or-later
#include "contacts/company_form.h"

#include "app/vantrel.h"
#include "documents/invoice_form.h"
#include "invoice/invoice_rules.h"
#include "platform/translation.h"
#include "store/options_form.h"

namespace vantrel {

CompanyForm::CompanyForm(Vantrel& app)
    : Form(app.services(), "frmCompany", tr("Your Company Information"), 5400, 7020), app_(app) {
  constexpr int row = 330;
  auto field = [this](const char* box, const char* label, std::string caption, int top, int width) {
    add(ControlKind::Label, label, {240, top + 45, 1440, 270}, std::move(caption))
        .style()
        .shrinkToFit = true;
    return &add(ControlKind::TextBox, box, {1740, top, width, row}, "");
  };
  companyName = field("Text1", "Label1", tr("Business Name"), 240, 3000);
  companyStreet = field("Text3", "Label3", tr("Street Address"), 660, 3000);
  companyTown = field("Text4", "Label4", tr("Town"), 1080, 3000);
  companyState = field("Text5", "Label5", tr("State"), 1500, 900);
  companyZip = field("Text6", "Label6", tr("Zip Code"), 1920, 1500);
  companyPhone = field("Text2", "Label2", tr("Phone Number"), 2580, 2100);
  txtEmail = field("txtEmail", "lblEmail", tr("E-mail"), 3000, 3000);
  txtCountry = field("txtCountry", "lblCountry", tr("Country"), 3420, 1500);
  txtTaxNo = field("txtTaxNo", "lblTaxNo", tr("Tax Number"), 3840, 2100);
  txtVatId = field("txtVatId", "lblVatId", tr("VAT ID"), 4260, 2100);
  txtHolder = field("txtHolder", "lblHolder", tr("Account Holder"), 4680, 3000);
  txtIban = field("txtIban", "lblIban", tr("IBAN"), 5100, 3000);
  txtBic = field("txtBic", "lblBic", tr("BIC"), 5520, 1500);
  txtTaxNo->setTooltip(tr("The tax number your tax office gave you"));
  txtVatId->setTooltip(tr("Your VAT identification number, such as DE123456789"));
  Command1 = &add(ControlKind::CommandButton, "Command1", {3660, 5985, 1080, row}, tr("Close"));

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

  // The new details are kept in the price list and read by the invoice when it is made.
  for (Control* detail : detailFields()) {
    detail->onChange = [this, detail] {
      typed(*detail);
      app_.invoiceDetailsChanged();
    };
  }
  // A mistyped number is told when its box is left, while the paper it came from is at hand.
  auto checked = [this](Control* box, std::string (*problem)(std::string_view)) {
    box->onFocusLeave = [this, box, problem] {
      const std::string text = problem(box->text());
      if (!text.empty()) services().messages.show(text);
      return false;
    };
  };
  checked(txtIban, ibanProblem);
  checked(txtVatId, vatIdProblem);
  checked(txtBic, bicProblem);

  Command1->onClick = [this] {
    hide();
    app_.options().askToSave();
  };
}

std::vector<Control*> CompanyForm::detailFields() const {
  return {txtCountry, txtTaxNo, txtVatId, txtEmail, txtHolder, txtIban, txtBic};
}

// A detail the user typed (the box has the focus; a price list being read never does) is
// a change of the price list, whichever way the window then closes.
void CompanyForm::typed(const Control& field) {
  if (focused() == &field) app_.options().setUnsaved(true);
}

}  // namespace vantrel
