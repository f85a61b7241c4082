// Keeps the first failing result of a run of keyboard commands that are all
// sent whatever the earlier ones gave.
#pragma once

#include "protocol/packet.h"

namespace mvk {

class FirstFailure {
 public:
  void Note(int result) {
    if (result_ == kResultOk) {
      result_ = result;
    }
  }
  int Result() const { return result_; }

 private:
  int result_ = kResultOk;
};

}  // namespace mvk
