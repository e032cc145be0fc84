// SPDX-License-Identifier: GPL-3.0-or-later
// The invoice on paper: the plain page as it has always been, and the detailed one with the
// tax, dates, bank details and note, followed where asked by the work log's pages.
#include <algorithm>
#include <string>
#include <vector>

#include "app/vantrel.h"
#include "documents/document_language.h"
#include "documents/invoice_form.h"
#include "invoice/invoice_content.h"
#include "invoice/invoice_rules.h"

namespace vantrel {

Page InvoiceForm::page(const PrintArea& area) {
  const InvoiceContent c = invoiceContent(app_);
  Page p;
  if (c.detailed) {
    detailedPage(p, area, c);
    return p;
  }
  const Language l = c.language;
  const double ox = (kSheetWidth - area.width) / 2 + 1;
  const double oy = (kSheetHeight - area.height) / 2 + 1.5;
  auto line = [&](double x1, double y1, double x2, double y2) {
    p.line(ox + x1, oy + y1, ox + x2, oy + y2);
  };
  PrintFont font{.name = "Arial", .points = 10, .bold = true};
  auto text = [&](double x, double y, const std::string& value) {
    p.text(ox + x, oy + y, value, font);
  };
  // A text that must end before `right` (its neighbour) is drawn smaller, down to 6 points,
  // and then starts earlier, down to `left`, its column's edge: a long figure never runs
  // into the next one.
  Printer& printer = services().printer;
  auto fitted = [&](double x, double y, const std::string& value, double right, double left) {
    PrintFont small = font;
    const double width = printer.textWidth(value, font);
    if (width > right - x) {
      small.points = std::max(6.0, font.points * (right - x) / width);
      x = std::max(left, std::min(x, right - printer.textWidth(value, small)));
    }
    p.text(ox + x, oy + y, value, small);
  };

  line(0, 0, 18.3, 0);
  line(0, 0, 0, 16.9);
  line(18.3, 0, 18.3, 16.9);
  line(0, 16.9, 18.3, 16.9);
  line(0, 1, 18.3, 1);
  line(0, 5.659, 18.3, 5.659);
  line(0.25, 2, 8, 2);
  line(0.25, 2, 0.25, 5.5);
  line(8, 2, 8, 5.5);
  line(0.25, 5.5, 8, 5.5);
  line(10, 2, 18, 2);
  line(10, 5.5, 18, 5.5);
  line(10, 2, 10, 5.5);
  line(18, 2, 18, 5.5);
  line(0, 6.5, 18.3, 6.5);
  line(0, 7.3, 18.3, 7.3);
  for (double x : {5.0, 7.0, 9.0, 11.0}) line(x, 6.5, x, 7.3);

  // A value starts at its place, or after its caption where a language's is longer.
  auto after = [&](double x, const std::string& caption, double at) {
    return std::max(at, x + printer.textWidth(caption, font) + 0.2);
  };
  text(0.25, 1.5, trIn(l, "Invoice Number"));
  text(after(0.25, trIn(l, "Invoice Number"), 3.5), 1.5, Invoicenum->text());
  text(12, 1.5, trIn(l, "Phone Number"));
  text(after(12, trIn(l, "Phone Number"), 15), 1.5, CompPhone->text());
  text(0.35, 2.2, trIn(l, "Business TO:"));
  text(0.35, 2.7, Name1->text());
  text(10.35, 2.2, trIn(l, "From:"));
  text(10.35, 2.7, Company->text());
  text(0.35, 4.7, trIn(l, "Phone "));
  text(1.7, 4.7, Phone->text());
  text(10.35, 3.2, CompAddress1->text());
  text(10.35, 3.7, CompAddress2->text());
  text(10.35, 4.2, CompAddress3->text());
  text(10.35, 4.7, CompAddress5->text());
  text(0.5, 6, trIn(l, "Date"));
  text(after(0.5, trIn(l, "Date"), 1.5), 6, dt->text());
  text(10, 6, trIn(l, "Project"));
  text(after(10, trIn(l, "Project"), 11.5), 6, Project->text());
  text(1.2, 6.7, trIn(l, "Description"));
  text(5.7, 6.7, trIn(l, "Qty"));
  text(7.5, 6.7, trIn(l, "Price"));
  text(9.3, 6.7, trIn(l, "Sub Total"));
  // Every row, ticked or not, empty or not.
  for (int i = 1; i <= 7; ++i) {
    const double y = 7.8 + 0.5 * (i - 1);
    fitted(0.5, y, categoryName[i]->text(), 5.6, 0.1);
    fitted(5.7, y, hours[i]->shownText(), 6.95, 5.05);
    fitted(7.4, y, rate[i]->shownText(), 8.9, 7.05);
    text(9, y, "=");
    fitted(9.7, y, amount[i]->shownText(), 18.2, 9.3);
  }
  text(13, 15.8, trIn(l, "Total "));
  text(14, 15.8, "=");
  // The total follows the sign, however long the sign.
  const std::string& sign = currency->text();
  if (currencyAfter(l)) {
    fitted(14.3, 15.8, sign.empty() ? total->shownText() : total->shownText() + " " + sign, 18.2,
           14.3);
  } else {
    text(14.3, 15.8, sign);
    const double totalAt = std::max(14.6, 14.3 + printer.textWidth(sign, font) + 0.1);
    fitted(totalAt, 15.8, total->text(), 18.2, totalAt);
  }

  font.points = 8;
  if (c.programLine) {
    text(6.7, 17, trIn(l, "This Invoice was prepared by Vantrel"));
    text(8, 17.3, kProductAddress);
  }

  // The title is centred on the sheet by its printed width, from the area's own edge.
  font.points = 14;
  const std::string title = trIn(l, "Invoice");
  p.text((kSheetWidth - printer.textWidth(title, font)) / 2, oy + 0.3, title, font);

  // The customer's address: street, then postcode and city, then the state where there is
  // one. The city follows the postcode however long that is.
  font.points = 10;
  text(0.35, 3.2, Address->text());
  const std::string& zip = Text25->text();
  text(0.35, 3.7, zip);
  const double cityAt = zip.empty() ? 0.35 : 0.35 + printer.textWidth(zip + " ", font);
  fitted(cityAt, 3.7, Text26->text(), 7.9, cityAt);
  text(0.35, 4.2, Text24->text());
  return p;
}

namespace {

// Draws from a frame's corner on the sheet, fitting texts to the room they have.
class Sheet {
 public:
  Sheet(Page& page, Printer& printer, double ox, double oy)
      : page_(page), printer_(printer), ox_(ox), oy_(oy) {}

  PrintFont font{.name = "Arial", .points = 10, .bold = true};

  double width(const std::string& text) const { return printer_.textWidth(text, font); }
  void text(double x, double y, const std::string& value) {
    if (!value.empty()) page_.text(ox_ + x, oy_ + y, value, font);
  }
  void line(double x1, double y1, double x2, double y2) {
    page_.line(ox_ + x1, oy_ + y1, ox_ + x2, oy_ + y2);
  }
  // A text that must end before `right` is drawn smaller, down to 6 points, then starts
  // earlier, down to `left`; what still does not fit is cut with an ellipsis.
  void fitted(double x, double y, const std::string& value, double right, double left) {
    PrintFont small = font;
    const double full = width(value);
    if (full <= right - x) return text(x, y, value);
    small.points = std::max(6.0, font.points * (right - x) / full);
    std::string shown = value;
    while (shown.size() > 1 && printer_.textWidth(shown, small) > right - left) {
      do {
        shown.pop_back();
      } while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80);
      if (!shown.empty()) shown.pop_back();
      shown += "\u2026";
    }
    x = std::max(left, std::min(x, right - printer_.textWidth(shown, small)));
    page_.text(ox_ + x, oy_ + y, shown, small);
  }
  // Words set in lines no wider than `room`.
  std::vector<std::string> wrapped(const std::string& value, double room) const {
    std::vector<std::string> lines;
    std::string lineText;
    std::size_t at = 0;
    while (at <= value.size()) {
      std::size_t end = value.find_first_of(" \n", at);
      if (end == std::string::npos) end = value.size();
      const std::string word = value.substr(at, end - at);
      const std::string joined = lineText.empty() ? word : lineText + " " + word;
      if (!lineText.empty() && width(joined) > room) {
        lines.push_back(lineText);
        lineText = word;
      } else {
        lineText = joined;
      }
      if (end < value.size() && value[end] == '\n') {
        lines.push_back(lineText);
        lineText.clear();
      }
      at = end + 1;
    }
    if (!lineText.empty()) lines.push_back(lineText);
    return lines;
  }

 private:
  Page& page_;
  Printer& printer_;
  double ox_, oy_;
};

std::string joined(const std::string& a, const std::string& between, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + between + b;
}

void frameOf(Sheet& s, double bottom) {
  s.line(0, 0, 18.3, 0);
  s.line(0, 0, 0, bottom);
  s.line(18.3, 0, 18.3, bottom);
  s.line(0, bottom, 18.3, bottom);
}

void title(Page& p, Printer& printer, double oy, const std::string& text) {
  const PrintFont font{.name = "Arial", .points = 14, .bold = true};
  p.text((kSheetWidth - printer.textWidth(text, font)) / 2, oy + 0.3, text, font);
}

}  // namespace

void InvoiceForm::detailedPage(Page& p, const PrintArea& area, const InvoiceContent& c) {
  Printer& printer = services().printer;
  const double ox = (kSheetWidth - area.width) / 2 + 1;
  const double oy = (kSheetHeight - area.height) / 2 + 1.5;
  Sheet s(p, printer, ox, oy);
  const Language l = c.language;
  // An ISO code follows the amounts; a sign does where the language puts it after them.
  const std::string after =
      !c.code.empty() ? c.code : (currencyAfter(l) ? currency->text() : std::string());
  auto amountText = [&after, l](const std::string& amount) {
    const std::string shown = documentFigure(amount, l);
    return after.empty() || amount.empty() ? shown : shown + " " + after;
  };

  // The heading, and the two address boxes with room for seven lines each.
  s.line(0, 1, 18.3, 1);
  // A value starts at its place, or after its caption where a language's is longer.
  auto startAfter = [&s](double x, const std::string& caption, double at) {
    return std::max(at, x + s.width(caption) + 0.2);
  };
  s.text(0.25, 1.5, trIn(l, "Invoice Number"));
  s.text(startAfter(0.25, trIn(l, "Invoice Number"), 3.5), 1.5, Invoicenum->text());
  s.text(12, 1.5, trIn(l, "Phone Number"));
  const double phoneAt = startAfter(12, trIn(l, "Phone Number"), 15);
  s.fitted(phoneAt, 1.5, CompPhone->text(), 18.2, std::min(14.6, phoneAt));
  for (double x : {0.25, 10.0}) {
    const double right = x + 7.75;
    s.line(x, 2, right, 2);
    s.line(x, 6, right, 6);
    s.line(x, 2, x, 6);
    s.line(right, 2, right, 6);
  }
  s.text(0.35, 2.15, trIn(l, "Business TO:"));
  s.text(10.35, 2.15, trIn(l, "From:"));
  std::vector<std::string> to = {Name1->text(), Address->text(),
                                 joined(Text25->text(), " ", Text26->text())};
  std::vector<std::string> from = {
      Company->text(),      CompAddress1->text(),
      CompAddress2->text(), joined(CompAddress3->text(), " ", CompAddress5->text()),
      c.issuerCountry,      c.issuerEmail,
      c.issuerTaxLine};
  to.push_back(Text24->text());
  to.push_back(c.customerCountry);
  if (!c.customerVatId.empty())
    to.push_back(vantrel::fill(trIn(l, "VAT ID %1"), {c.customerVatId}));
  if (!Phone->text().empty()) to.push_back(trIn(l, "Phone ") + Phone->text());
  s.font.points = 9;
  auto block = [&s](std::vector<std::string> lines, double x) {
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    double y = 2.65;
    for (const std::string& value : lines) {
      s.fitted(x, y, value, x + 7.5, x);
      y += 0.45;
    }
  };
  block(to, 0.35);
  block(from, 10.35);

  // The dates and the project.
  s.font.points = 10;
  s.line(0, 6.159, 18.3, 6.159);
  s.text(0.5, 6.35, trIn(l, "Date"));
  s.text(startAfter(0.5, trIn(l, "Date"), 1.5), 6.35, documentDate(app_, c.issueIso));
  if (!c.due.empty()) {
    s.text(4.4, 6.35, trIn(l, "Payment due"));
    s.text(startAfter(4.4, trIn(l, "Payment due"), 6.9), 6.35, c.due);
  }
  s.text(10, 6.35, trIn(l, "Project"));
  const double projectAt = startAfter(10, trIn(l, "Project"), 11.5);
  s.fitted(projectAt, 6.35, Project->text(), 18.2, projectAt);
  if (!c.period.empty()) {
    s.font.points = 9;
    s.text(0.5, 6.8, trIn(l, "Period of the work"));
    const double periodAt = startAfter(0.5, trIn(l, "Period of the work"), 3.8);
    s.fitted(periodAt, 6.8, c.period, 18.2, periodAt);
    s.font.points = 10;
  }

  // The rows that bill, closed up.
  s.line(0, 7.3, 18.3, 7.3);
  s.line(0, 8.1, 18.3, 8.1);
  for (double x : {5.0, 7.0, 9.0, 11.0}) s.line(x, 7.3, x, 8.1);
  s.text(1.2, 7.5, trIn(l, "Description"));
  s.text(5.7, 7.5, trIn(l, "Qty"));
  s.text(7.5, 7.5, trIn(l, "Price"));
  s.text(9.3, 7.5, trIn(l, "Sub Total"));
  double y = 8.6;
  for (int i = 1; i <= 7; ++i) {
    if (!bills(i)) continue;
    s.fitted(0.5, y, categoryName[i]->text(), 5.6, 0.1);
    s.fitted(5.7, y, documentFigure(twoDecimals(hours[i]->text()), l), 6.95, 5.05);
    s.fitted(7.4, y, rate[i]->shownText(), 8.9, 7.05);
    s.text(9, y, "=");
    s.fitted(9.7, y, amountText(amount[i]->text()), 18.2, 9.3);
    y += 0.5;
  }
  y += 0.1;
  s.line(0, y, 18.3, y);
  y += 0.4;

  // The totals, the tax between them.
  const std::string& sign = after.empty() ? currency->text() : std::string();
  const double amountAt = std::max(14.6, 14.3 + s.width(sign) + 0.1);
  auto totalLine = [&](const std::string& label, const std::string& value) {
    s.text(10.3, y, label);
    s.text(14, y, "=");
    s.text(14.3, y, sign);
    s.fitted(amountAt, y, amountText(value), 18.2, amountAt);
    y += 0.5;
  };
  if (c.treatment == TaxTreatment::Vat) {
    totalLine(trIn(l, "Net total"), total->text());
    totalLine(vantrel::fill(trIn(l, "VAT %1 %"), {documentFigure(c.rate, l)}),
              c.net ? moneyText(c.tax) : "");
    totalLine(trIn(l, "Total due"), c.net ? moneyText(c.gross) : "");
  } else {
    totalLine(trIn(l, "Total"), total->text());
  }

  // The bank details and the note close the frame.
  if (!c.bankLine.empty() || !c.note.empty()) {
    y += 0.2;
    s.line(0, y, 18.3, y);
    y += 0.25;
    s.font.points = 9;
    if (!c.bankLine.empty()) {
      s.fitted(0.35, y, c.bankLine, 18.1, 0.2);
      y += 0.45;
    }
    for (const std::string& lineText : s.wrapped(c.note, 17.7)) {
      s.fitted(0.35, y, lineText, 18.1, 0.2);
      y += 0.45;
    }
    s.font.points = 10;
  }
  const double bottom = std::max(16.9, y + 0.4);
  frameOf(s, bottom);
  if (c.programLine) {
    s.font.points = 8;
    s.text(6.7, bottom + 0.1, trIn(l, "This Invoice was prepared by Vantrel"));
    s.text(8, bottom + 0.4, kProductAddress);
  }
  title(p, printer, oy, trIn(l, "Invoice"));

  if (!c.logPage) return;
  // The work entries of the period, as many pages as they take.
  std::string totalHours;
  const std::vector<WorkLine> work = workLines(app_, totalHours);
  const double last = std::min(area.height - 1.5 - 1.0, 26.0);
  std::size_t next = 0;
  do {
    p.newPage();
    Sheet w(p, printer, ox, oy);
    title(p, printer, oy, trIn(l, "Work log"));
    w.line(0, 1, 18.3, 1);
    w.text(
        0.35, 1.2,
        joined(vantrel::fill(trIn(l, "Invoice %1"), {Invoicenum->text()}), "   ", Project->text()));
    w.line(0, 1.8, 18.3, 1.8);
    const double columns[] = {0.35, 3.3, 5.0, 6.7, 8.6};
    const char* headings[] = {N_("Date"), N_("From"), N_("To"), N_("Hours"), N_("Note")};
    for (int k = 0; k < 5; ++k) w.text(columns[k], 1.95, trIn(l, headings[k]));
    w.line(0, 2.5, 18.3, 2.5);
    double row = 2.7;
    w.font.points = 9;
    for (; next < work.size() && row + 0.45 <= last - 0.6; ++next, row += 0.45) {
      const WorkLine& e = work[next];
      w.fitted(columns[0], row, e.date, 3.2, 0.2);
      w.text(columns[1], row, e.from);
      w.text(columns[2], row, e.to);
      w.fitted(columns[3], row, e.hours, 8.4, 6.6);
      w.fitted(columns[4], row, e.note, 18.1, 8.5);
    }
    if (next >= work.size()) {
      w.line(0, row + 0.05, 18.3, row + 0.05);
      w.font.points = 10;
      w.text(columns[0], row + 0.25, trIn(l, "Total"));
      w.text(columns[3], row + 0.25, totalHours);
      row += 0.75;
    }
    frameOf(w, row + 0.2);
  } while (next < work.size());
}

}  // namespace vantrel
