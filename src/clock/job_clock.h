#pragma once

namespace vantrel {

class MainForm;

// The running clock of the job sheet: the one-second tick, Start, Stop, Reset, the tray's
// Start Clock and Stop Clock, the watchdog and the time adjusters.
class JobClock {
 public:
  explicit JobClock(MainForm& main);

  void start();
  void stop();
  void reset();
  void startClock();
  void stopClock();
  void tick();

 private:
  MainForm& main_;
};

}  // namespace vantrel
