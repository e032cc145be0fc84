// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "documents/document_output.h"

namespace vantrel {

class Control;
class MainForm;
class Vantrel;

// What is wrong with the first rate, hours or amount of the job that does not read as a
// number, named by its category and with the figure to write instead ("The rate of Design,
// 62,50, is not a number: write 62.50."). Empty when every figure reads; an empty box is
// no figure and passes.
std::string unreadableFigure(const MainForm& main);

// A document is made only from figures that read: otherwise says why and returns true.
bool figuresRefused(Vantrel& app);

// A document's name from its own invoice number and project boxes, with the job's file.
DocumentName documentName(const MainForm& main, const Control& invoiceNumber,
                          const Control& project);

}  // namespace vantrel
