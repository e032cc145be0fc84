#include "documents/invoice_form.h"

#include <string>

#include "app/vantrel.h"

namespace vantrel {

InvoiceForm::InvoiceForm(Vantrel& app)
    : Form(app.services(), "frmInvoice", "Invoice", 11115, 12600), app_(app) {
  setBackColour(colour::white);
  auto label = [this](std::string name, Geometry g, std::string text) {
    Control* c = &add(ControlKind::Label, std::move(name), g, std::move(text));
    c->setBackColour(colour::white);
    return c;
  };
  auto field = [this](std::string name, Geometry g, std::string text, Align align) {
    Control* c = &add(ControlKind::TextBox, std::move(name), g, std::move(text));
    c->style().readOnly = true;
    c->style().align = align;
    return c;
  };
  Control* title = label("Label36", {600, 240, 9975, 600}, "Invoice");
  title->style() = Style{24, true, Align::Centre};
  label("Label5", {960, 1200, 1800, 270}, "Invoice Number");
  Invoicenum = field("Invoicenum", {2880, 1200, 1800, 285}, "", Align::Left);
  label("Label4", {5880, 1440, 1800, 270}, "Phone Number");
  CompPhone = field("CompPhone", {7920, 1440, 2400, 285}, "", Align::Left);
  label("Label1", {1200, 1680, 900, 270}, "Date");
  dt = field("dt", {1200, 2040, 1800, 285}, "", Align::Left);
  label("Label2", {1200, 2640, 1800, 270}, "Business TO:");
  Name1 = field("Name1", {1200, 2895, 3255, 285}, "", Align::Left);
  Address = field("Address", {1200, 3360, 3255, 285}, "", Align::Left);
  label("Label35", {1200, 4560, 900, 270}, "Phone ");
  Phone = field("Phone", {2280, 4560, 2175, 285}, "", Align::Left);
  label("Label3", {6120, 2640, 1800, 270}, "From:");
  Company = field("Company", {6120, 3000, 3255, 285}, "", Align::Left);
  CompAddress1 = field("CompAddress1", {6120, 3360, 3255, 285}, "", Align::Left);
  CompAddress2 = field("CompAddress2", {6120, 3720, 3255, 285}, "", Align::Left);
  CompAddress3 = field("CompAddress3", {6120, 4200, 3255, 285}, "", Align::Left);
  CompAddress5 = field("CompAddress5", {6120, 4560, 3255, 285}, "", Align::Left);
  label("Label6", {1080, 5160, 900, 270}, "Project");
  Project = field("Project", {2040, 5160, 4000, 285}, "", Align::Left);
  label("Label37", {960, 5760, 1800, 270}, "Description");
  label("Label38", {2880, 5760, 900, 270}, "Qty");
  label("Label39", {4200, 5760, 900, 270}, "Price");
  label("Label40", {6000, 5760, 1200, 270}, "Sub Total");
  for (int i = 1; i <= 7; ++i) {
    int top = 6360 + 480 * (i - 1);
    categoryName[i] = label("Label" + std::to_string(i + 6), {1080, top, 1740, 270}, "");
    hours[i] = field("Text" + std::to_string(i + 16), {2880, top, 900, 285}, "0", Align::Right);
    label("LabelAt" + std::to_string(i), {3840, top, 240, 270}, "@");
    rate[i] = field("Text" + std::to_string(i), {4560, top, 1020, 285}, "", Align::Right);
    label("LabelEq" + std::to_string(i), {5640, top, 240, 270}, "=");
    amount[i] = field("Text" + std::to_string(i + 7), {6360, top, 1200, 285}, "0.00", Align::Right);
  }
  label("Label41", {7560, 10200, 600, 270}, "Total ");
  total = field("Text16", {8880, 10200, 1320, 285}, "0.00", Align::Right);
  label("Label42", {720, 12360, 1500, 270}, "Total Hours");
  totalHours = field("Text15", {3240, 12360, 1200, 285}, "0", Align::Right);
}

}  // namespace vantrel
