// Kill and resume: a program changes a session from a seed while its autosaver writes, and
// is killed with SIGKILL at a random moment; the next one resumes what it saved.
// TALVIK_KILL_ROUNDS sets the number of rounds (200 by default), TALVIK_KILL_SEED the seed.
#include <gtest/gtest.h>

#include "kill_support.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {

TEST(SessionKill, NoSaveReportedIsEverLost) {
    // Every field counts here: the program's time moves only with its changes.
    testing::runKillLoop({"TALVIK_KILL", TALVIK_SESSION_CHILD, 3000, testing::stateDigest});
}

}  // namespace
}  // namespace talvik::exam
