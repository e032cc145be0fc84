#include "sheet/job_sheet.h"

#include "app/main_form.h"

namespace vantrel {

JobSheet::JobSheet(MainForm& main) : main_(main) {}

}  // namespace vantrel
