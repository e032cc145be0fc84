// SPDX-License-Identifier: GPL-3.0-or-later
// The invoice and the report as PDF files, drawn by the desktop program's own code and read
// back with poppler's tools: every text where the layout puts it, the report as one picture
// of its window.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "app/main_form.h"
#include "app/vantrel.h"
#include "contacts/company_form.h"
#include "contacts/customer_form.h"
#include "documents/invoice_form.h"
#include "documents/report_form.h"
#include "platform/qt/qt_services.h"
#include "store/options_form.h"
#include "test_home.h"
#include "worklog/log_keeper.h"

namespace vantrel {
namespace {

constexpr double kPtPerCm = 72 / 2.54;

struct Word {
  int page = 1;
  QString text;
  double x = 0;  // cm from the sheet's top left
  double y = 0;
  double right = 0;
};

// The words of a PDF's one page with their top-left corners.
QList<Word> wordsOf(const QString& pdf) {
  QProcess tool;
  tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  if (!tool.waitForFinished(20000) || tool.exitCode() != 0) return {};
  const QString html = QString::fromUtf8(tool.readAllStandardOutput());
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
  QList<Word> words;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    const int page = static_cast<int>(html.left(m.capturedStart()).count(QStringLiteral("<page ")));
    words.append({page, m.captured(4).replace(QStringLiteral("&amp;"), QStringLiteral("&")),
                  m.captured(1).toDouble() / kPtPerCm, m.captured(2).toDouble() / kPtPerCm,
                  m.captured(3).toDouble() / kPtPerCm});
  }
  return words;
}

// The program on the desktop platform; its windows go before its forms do.
struct Desktop {
  QtServices services{QStringList{}};
  Vantrel program{services.services()};
  ~Desktop() { services.releaseWindows(); }
};

}  // namespace

class DocumentsPdfTest : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() {
    keepHomeIn(home_);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
      QFAIL("pdftotext is missing: scripts/bootstrap --test installs poppler-utils");
    }
  }

  void invoiceTextsSitWhereTheLayoutPutsThem() {
    Desktop desktop;
    QtServices& services = desktop.services;
    InvoiceForm& invoice = desktop.program.invoice();
    // Distinct one-word values, so each is found by its text alone.
    const std::pair<Control*, const char*> values[] = {
        {invoice.Invoicenum, "N1042"},   {invoice.CompPhone, "P5550100"},
        {invoice.Name1, "Hale"},         {invoice.Company, "Quayside"},
        {invoice.Phone, "P5550199"},     {invoice.CompAddress1, "Street1"},
        {invoice.CompAddress2, "Town2"}, {invoice.CompAddress3, "State3"},
        {invoice.CompAddress5, "Zip5"},  {invoice.dt, "2026-01-05"},
        {invoice.Project, "Harbour"},    {invoice.Address, "Address1"},
        {invoice.Text24, "Line2"},       {invoice.Text25, "Z03801"},
        {invoice.Text26, "J03802"},
    };
    for (const auto& [box, text] : values) setField(*box, text);
    for (int i = 1; i <= 7; ++i) {
      setField(*invoice.categoryName[i], "Cat" + std::to_string(i));
      setField(*invoice.hours[i], "H" + std::to_string(i));
      setField(*invoice.rate[i], "R" + std::to_string(i));
      setField(*invoice.amount[i], std::to_string(i) + "1.25");
    }
    QCOMPARE(QString::fromStdString(invoice.total->text()), QStringLiteral("288.75"));

    const QString path = home_.path() + QStringLiteral("/Invoice-N1042.pdf");
    QVERIFY(services.exportPage(invoice.page(PrintArea{}), path.toStdString()).ok);
    const QList<Word> words = wordsOf(path);
    QVERIFY2(!words.isEmpty(), "pdftotext read no words");

    // (X, Y) from the frame's corner, which lies 1 cm in and 1.5 cm down on the sheet.
    struct Expected {
      double x, y;
      QString text;
    };
    QList<Expected> expected = {
        {0.25, 1.5, "Invoice"},    {3.5, 1.5, "N1042"},
        {12, 1.5, "Phone"},        {15, 1.5, "P5550100"},
        {0.35, 2.2, "Business"},   {0.35, 2.7, "Hale"},
        {10.35, 2.2, "From:"},     {10.35, 2.7, "Quayside"},
        {0.35, 4.7, "Phone"},      {1.7, 4.7, "P5550199"},
        {10.35, 3.2, "Street1"},   {10.35, 3.7, "Town2"},
        {10.35, 4.2, "State3"},    {10.35, 4.7, "Zip5"},
        {0.5, 6, "Date"},          {1.5, 6, "2026-01-05"},
        {10, 6, "Project"},        {11.5, 6, "Harbour"},
        {1.2, 6.7, "Description"}, {5.7, 6.7, "Qty"},
        {7.5, 6.7, "Price"},       {9.3, 6.7, "Sub"},
        {13, 15.8, "Total"},       {14, 15.8, "="},
        {14.3, 15.8, "$"},         {14.6, 15.8, "288.75"},
        {6.7, 17, "This"},         {8, 17.3, "www.vantrel.app"},
        {0.35, 3.2, "Address1"},   {0.35, 3.7, "Z03801"},
        {0.35, 4.2, "Line2"},
    };
    // The city follows its postcode.
    expected.append({0.35 + services.textWidth("Z03801 ", PrintFont{"Arial", 10, true}), 3.7,
                     QStringLiteral("J03802")});
    for (int i = 1; i <= 7; ++i) {
      const double y = 7.8 + 0.5 * (i - 1);
      expected.append({0.5, y, QStringLiteral("Cat%1").arg(i)});
      expected.append({5.7, y, QStringLiteral("H%1").arg(i)});
      expected.append({7.4, y, QStringLiteral("R%1").arg(i)});
      expected.append({9, y, QStringLiteral("=")});
      expected.append({9.7, y, QString::number(i) + QStringLiteral("1.25")});
    }
    for (const Expected& e : expected) {
      const double x = 1 + e.x;
      const double y = 1.5 + e.y;
      bool found = false;
      for (const Word& w : words) {
        if (w.text == e.text && qAbs(w.x - x) < 0.1 && qAbs(w.y - y) < 0.1) found = true;
      }
      QVERIFY2(found,
               qPrintable(QStringLiteral("%1 not at (%2, %3) cm").arg(e.text).arg(x).arg(y)));
    }
    // The title is centred on the sheet, in the band above the first rule.
    bool title = false;
    for (const Word& w : words) {
      if (w.text == "Invoice" && qAbs(w.y - 1.8) < 0.1) {
        title = true;
        const double width = services.textWidth("Invoice", PrintFont{"Arial", 14, true});
        QVERIFY(qAbs(w.x - (21 - width) / 2) < 0.1);
      }
    }
    QVERIFY(title);
  }

  // The largest figures the sheet computes, and a three-letter currency: every figure stays
  // inside its own column and the sign stands where "$" does.
  void longFiguresAndCurrencyKeepToTheirColumns() {
    Desktop desktop;
    desktop.services.services().settings.write("Ploven", "Settings", "Currency", "CHF");
    InvoiceForm& invoice = desktop.program.invoice();
    for (int i = 1; i <= 7; ++i) {
      setField(*invoice.hours[i], "1000000.0000");
      setField(*invoice.rate[i], "99999.99");
    }
    setField(*invoice.rate[2], "999999999999.99");
    setField(*invoice.amount[2], "999999999999.99");
    const QString path = home_.path() + QStringLiteral("/Invoice-large.pdf");
    QVERIFY(desktop.services.exportPage(invoice.page(PrintArea{}), path.toStdString()).ok);
    const QList<Word> words = wordsOf(path);
    bool sign = false;
    for (const Word& w : words) {
      if (w.text == "CHF") sign = qAbs(w.x - 15.3) < 0.1 && qAbs(w.y - 17.3) < 0.1;
      for (const Word& o : words) {
        if (&w == &o || qAbs(w.y - o.y) > 0.2) continue;
        QVERIFY2(w.right <= o.x + 0.01 || o.right <= w.x + 0.01,
                 qPrintable(w.text + QStringLiteral(" overlaps ") + o.text));
      }
      QVERIFY2(w.right < 19.3, qPrintable(w.text + QStringLiteral(" runs off the frame")));
    }
    QVERIFY(sign);
    QCOMPARE(QString::fromStdString(invoice.total->text()), QStringLiteral("999999999999.99"));
  }

  // An invoice with every detail set: each is on the page, no two words overlap, nothing
  // leaves the frame, and the work log follows on a page of its own.
  void detailedInvoiceKeepsToItsFrame() {
    Desktop desktop;
    Vantrel& app = desktop.program;
    CompanyForm& company = app.company();
    const std::pair<Control*, const char*> issuer[] = {
        {company.companyName, "Brandl Design"},
        {company.companyStreet, "Marienplatz 8"},
        {company.companyTown, "München"},
        {company.companyZip, "80331"},
        {company.txtCountry, "Germany"},
        {company.txtEmail, "eva@brandl.example"},
        {company.txtVatId, "DE123456789"},
        {company.txtHolder, "Eva Brandl"},
        {company.txtIban, "DE89370400440532013000"},
        {company.txtBic, "COBADEFFXXX"},
    };
    for (const auto& [box, text] : issuer) setField(*box, text);
    CustomerForm& customer = app.customer();
    setField(*customer.jobCountry, "France");
    setField(*customer.jobVatId, "FR40303265045");
    customer.tax.set(TaxTreatment::Vat, "19", "");
    setField(*app.options().txtTerms, "14");
    app.options().chkFooter->setValue(0);
    LogKeeper& log = *app.main().log;
    const std::int64_t day = 86400000, start = app.services().clock.utcMs() - 3 * day;
    QVERIFY(log.addManual(start, start + 3600000, "Sketches").empty());
    QVERIFY(log.addManual(start + day, start + day + 5400000, "Layout").empty());
    InvoiceForm& invoice = app.invoice();
    invoice.chkLog->setValue(1);
    setField(*invoice.Invoicenum, "2026-017");
    setField(*invoice.Name1, "Lumen SARL");
    setField(*invoice.Project, "Harbour");
    setField(*invoice.hours[2], "2.5");
    setField(*invoice.rate[2], "55.00");
    setField(*invoice.amount[2], "137.50");
    invoice.showDetails();

    const QString path = home_.path() + QStringLiteral("/Invoice-2026-017.pdf");
    QVERIFY(desktop.services.exportPage(invoice.page(PrintArea{}), path.toStdString()).ok);
    const QList<Word> words = wordsOf(path);
    auto has = [&words](int page, const QString& text) {
      for (const Word& w : words) {
        if (w.page == page && w.text == text) return true;
      }
      return false;
    };
    for (const char* text :
         {"DE123456789", "FR40303265045", "France", "Germany", "Payment", "Period", "Net", "VAT",
          "26.13", "163.63", "IBAN:", "COBADEFFXXX", "eva@brandl.example", "2.50"}) {
      QVERIFY2(has(1, QString::fromUtf8(text)), text);
    }
    QVERIFY2(!has(1, QStringLiteral("Vantrel")), "the line naming the program is switched off");
    for (const char* text : {"Work", "Sketches", "Layout", "2.50", "Total"}) {
      QVERIFY2(has(2, QString::fromUtf8(text)), text);
    }
    QCOMPARE(words.back().page, 2);
    for (const Word& w : words) {
      for (const Word& o : words) {
        if (&w == &o || w.page != o.page || qAbs(w.y - o.y) > 0.2) continue;
        QVERIFY2(w.right <= o.x + 0.01 || o.right <= w.x + 0.01,
                 qPrintable(w.text + QStringLiteral(" overlaps ") + o.text));
      }
      QVERIFY2(w.x > 1 && w.right < 19.3 && w.y > 1.5 && w.y < 27.5,
               qPrintable(w.text + QStringLiteral(" runs off the frame")));
    }
  }

  // The report is a document: its figures are text, where the window puts them (half as
  // large again and centred across the sheet), and it holds no picture.
  void reportIsTextWhereTheWindowPutsIt() {
    Desktop desktop;
    QtServices& services = desktop.services;
    ReportForm& report = desktop.program.report();  // never shown
    setField(*report.customer, "Hale");
    setField(*report.totalCost, "1,234.50");
    const QString path = home_.path() + QStringLiteral("/Report.pdf");
    QVERIFY(services.exportPage(report.page(PrintArea{}), path.toStdString()).ok);

    const double cm = 2.54 / 1440 * 1.5, left = (21 - 5595 * cm) / 2;
    bool customer = false, total = false;
    for (const Word& w : wordsOf(path)) {
      if (w.text == "Hale") {
        customer = qAbs(w.x - (left + 2280 * cm)) < 0.1 && qAbs(w.y - (1.5 + 960 * cm)) < 0.1;
      }
      if (w.text == "1,234.50") total = qAbs(w.right - (left + 4215 * cm)) < 0.1;
    }
    QVERIFY(customer);
    QVERIFY(total);
    QProcess tool;
    tool.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
    QVERIFY(tool.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).count('\n'), 2);  // headings only
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::DocumentsPdfTest)
#include "documents_pdf_test.moc"
