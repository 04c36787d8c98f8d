// Work that must be finished before a writer's first change reaches the file
// on disk: a backup copy of the file being made meanwhile, say. Until then the
// writer keeps its changed pages in memory, up to a bound, and then waits.
#pragma once

namespace jet::file {

class ChangeGate {
 public:
  virtual ~ChangeGate() = default;
  // Whether the work has ended, well or not; never waits.
  virtual bool finished() = 0;
  // Waits for the work to end; throws jet::Error when it failed, and then the
  // file must not be changed.
  virtual void wait() = 0;
};

}  // namespace jet::file
