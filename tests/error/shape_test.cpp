// The generated shapes at work: statements after an error, retries, conditions
// while an error is pending, guarded stores and SUB scopes.
#include <string>
#include <vector>

#include "error/error_test_support.h"
#include "core/traps.h"
#include "shape.h"
#include "traps.h"

namespace {

std::vector<std::string> ran;

class Shape : public ErrorTest {
protected:
    void SetUp() override {
        ErrorTest::SetUp();
        ran.clear();
    }
};

void three_statements() {
    ZV_MAIN_PROLOGUE();
    ZV_STATEMENT(1, ran.push_back("first"));
    ZV_STATEMENT(2, {
        error(53);
        if (!new_error_is_set()) ran.push_back("second, after its error");
    });
    ZV_STATEMENT(3, ran.push_back("third"));
}

TEST_F(Shape, ErrorInTheMiddleAnsweredYesRunsTheThirdStatement) {
    three_statements();
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "third"}));
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_EQ(alert_recorder::boxes[0], "yesno|Unhandled Error #53 - prog|Line: 2 (in main module)\nFile not found\nContinue?");
    EXPECT_EQ(new_error.load(), 0);
}

int attempts = 0;
void retry_handler() { error_retry = 1; }
void retried_statement() {
    ZV_MAIN_PROLOGUE();
    ZV_STATEMENT(5, {
        attempts++;
        if (attempts == 1) error(70);
    });
    ZV_STATEMENT(6, ran.push_back("after"));
}

TEST_F(Shape, ResumeRetryRunsTheStatementAgain) {
    program.main_module = retried_statement;
    program.error_handler = retry_handler;
    error_goto_line = 1;
    attempts = 0;
    retried_statement();
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(ran, (std::vector<std::string>{"after"}));
    EXPECT_TRUE(alert_recorder::boxes.empty());
}

bool raises_then_false() {
    error(5);
    return false;
}

void if_statements() {
    ZV_MAIN_PROLOGUE();
    if (ZV_CONDITION(raises_then_false())) {
        ZV_STATEMENT(11, ran.push_back("then"));
    } else {
        ZV_STATEMENT(13, ran.push_back("else"));
    }
    if (ZV_CONDITION(false)) {
        ZV_STATEMENT(15, ran.push_back("then 2"));
    }
}

TEST_F(Shape, ErrorInAnIfConditionEntersTheThenBranch) {
    if_statements();
    EXPECT_EQ(ran, (std::vector<std::string>{"then"}));
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_NE(alert_recorder::boxes[0].find("|Line: 11 (in main module)\nIllegal function call"), std::string::npos);
}

TEST_F(Shape, ErrorInALoopUntilConditionLeavesTheLoop) {
    int passes = 0;
    int64_t zv_mark = 0;
do_again:
    passes++;
loop_until:
    if (!ZV_CONDITION(passes == 3 ? raises_then_false() : false)) goto do_again;
    ZV_BOUNDARY(20, loop_until);
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(alert_recorder::boxes.size(), 1u);
}

TEST_F(Shape, BoundaryRetryJumpsBack) {
    program.main_module = [] { ZV_MAIN_PROLOGUE(); };
    program.error_handler = retry_handler;
    error_goto_line = 1;
    int evaluations = 0;
again:
    evaluations++;
    if (evaluations == 1) error(6);
    ZV_BOUNDARY(30, again);
    EXPECT_EQ(evaluations, 2);
}

TEST_F(Shape, StoresAreSkippedWhileAnErrorIsPending) {
    float values[4] = {1, 2, 3, 4};
    array_descriptor<1> a{values, ARRAY_ALLOCATED, {{1, 4, 1}}, nullptr};
    ZV_STORE(zv_element<float>(&a, 2), 20.0f);
    EXPECT_EQ(values[1], 20.0f);
    ZV_STORE(zv_element<float>(&a, 5), 50.0f);  // error 9: element 0 is not written
    EXPECT_EQ(new_error.load(), 9);
    EXPECT_EQ(values[0], 1.0f);
    float x = 7;
    ZV_STORE(x, 8.0f);  // still pending
    EXPECT_EQ(x, 7.0f);
    clear_error();
    ZV_STORE(zv_element<float>(&a, 4294967297.0L), 9.0f);  // never wraps onto element 1
    EXPECT_EQ(new_error.load(), 9);
    EXPECT_EQ(values[0], 1.0f);
    EXPECT_EQ(values[1], 20.0f);
}

void empty_main_module() { ZV_MAIN_PROLOGUE(); }

TEST_F(Shape, PrologueLowersEachNonZeroEventCounter) {
    timer_event_occurred = 2;
    key_event_occurred = 0;
    strig_event_occurred = 1;
    empty_main_module();
    EXPECT_EQ(timer_event_occurred.load(), 1);
    EXPECT_EQ(key_event_occurred.load(), 0);
    EXPECT_EQ(strig_event_occurred.load(), 0);
    key_event_occurred = -1;  // non-zero either way
    empty_main_module();
    EXPECT_EQ(timer_event_occurred.load(), 0);
    EXPECT_EQ(key_event_occurred.load(), -2);
    EXPECT_EQ(strig_event_occurred.load(), 0);
    key_event_occurred = 0;
}

TEST_F(Shape, EntryForAnErrorHandlerLeavesTheEventCounters) {
    program.main_module = empty_main_module;
    program.error_handler = [] { ran.push_back("handler"); };
    timer_event_occurred = 3;
    error_occurred = 1;
    empty_main_module();
    EXPECT_EQ(ran, std::vector<std::string>{"handler"});
    EXPECT_EQ(timer_event_occurred.load(), 3);
    timer_event_occurred = 0;
}

mem_lock* sub_lock = nullptr;
int64_t sub_lock_id = 0;
void SUB_RECORD(int32_t* n) {
    ZV_SUB_SCOPE();
    sub_lock = mem_lock_last();
    sub_lock_id = sub_lock->id;
    ZV_STATEMENT(41, *n += 1);
}

int32_t FUNC_TWICE(int32_t n) {
    ZV_FUNCTION_SCOPE(0);
    return n * 2;
}

TEST_F(Shape, SubScopeSkipsTheBodyWhileAnErrorIsPendingAndFreesItsLock) {
    int32_t n = 0;
    SUB_RECORD(&n);
    EXPECT_EQ(n, 1);
    ASSERT_NE(sub_lock, nullptr);
    EXPECT_GE(sub_lock_id, 0x40000000);
    EXPECT_EQ(sub_lock->type, MEM_LOCK_SCOPE);
    EXPECT_EQ(sub_lock->id, 0);  // freed when the call ended
    EXPECT_EQ(FUNC_TWICE(4), 8);
    error(5);
    sub_lock = nullptr;
    SUB_RECORD(&n);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(sub_lock, nullptr);
    EXPECT_EQ(FUNC_TWICE(4), 0);
}

}  // namespace

namespace {

std::vector<float> for_values(double first, double last, double step) {
    std::vector<float> seen;
    float i = 0;
    ZV_FOR(loop, 50, i, first, last, step);
    seen.push_back(i);
    ZV_NEXT(loop, i);
    return seen;
}

TEST_F(Shape, ForLoopsCountInSinglesAndStopPastTheFinalValue) {
    EXPECT_EQ(for_values(1, 4, 1), (std::vector<float>{1, 2, 3, 4}));
    EXPECT_EQ(for_values(3, 1, -1), (std::vector<float>{3, 2, 1}));
    EXPECT_EQ(for_values(1, 0, 1), std::vector<float>{});
    EXPECT_EQ(for_values(0, 1, 0.5), (std::vector<float>{0, 0.5f, 1}));
}

TEST_F(Shape, ForEntersItsBodyWhileAnErrorIsPending) {
    error(5);
    std::vector<std::string> body;
    float i = -7;
    int passes = 0;
    ZV_FOR(loop, 60, i, 1, 0, 1);
    body.push_back("body");
    if (++passes == 1) {
        // the error was handled at the FOR's boundary (answered Yes); leave now
        goto done;
    }
    ZV_NEXT(loop, i);
done:
    EXPECT_EQ(body, std::vector<std::string>{"body"});
    EXPECT_EQ(i, -7);  // the loop variable was never stored
    ASSERT_EQ(alert_recorder::boxes.size(), 1u);
    EXPECT_NE(alert_recorder::boxes[0].find("Line: 60"), std::string::npos);
}

}  // namespace
