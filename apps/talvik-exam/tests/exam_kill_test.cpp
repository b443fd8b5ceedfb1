// Kill and resume with the real program: the exam driver sits the sample test through the
// screen and is killed with SIGKILL at a random moment, sometimes while it is still
// starting; the next driver resumes what it saved.
// TALVIK_EXAM_KILL_ROUNDS sets the number of rounds, TALVIK_EXAM_KILL_SEED the seed.
#include <gtest/gtest.h>

#include "kill_support.h"
#include "session_test_support.h"

namespace talvik::exam {
namespace {

TEST(ExamKill, NoChangeSavedIsEverLostWhenTheProgramIsKilled) {
    testing::runKillLoop({"TALVIK_EXAM_KILL", TALVIK_EXAM_DRIVER, 20000, testing::answerDigest});
}

}  // namespace
}  // namespace talvik::exam
