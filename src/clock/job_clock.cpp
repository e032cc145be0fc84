#include "clock/job_clock.h"

#include "app/main_form.h"

namespace vantrel {

JobClock::JobClock(MainForm& main) : main_(main) {}

void JobClock::start() {}
void JobClock::stop() {}
void JobClock::reset() {}
void JobClock::startClock() {}
void JobClock::stopClock() {}
void JobClock::tick() {}

}  // namespace vantrel
