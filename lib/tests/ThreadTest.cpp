// Worker threads: suspended start, stop flag, join against a fresh resume, destruction in
// every state, join from the thread itself.
#include <gtest/gtest.h>

#include <atomic>

#include "lib/Thread.h"

namespace {

// Lives outside the workers so that it can be checked after a worker is gone.
struct Record {
  std::atomic<int> runs{0};
  std::atomic<int> stopsSeen{0};
  std::atomic<bool> holdUntilStop{false};
};

// Has no destructor of its own and touches none of its own members once started, so that
// ~Thread alone has to stop and wait for a worker that is still running.
class Worker : public Thread {
 public:
  explicit Worker(Record* record) : record(record) {}
  bool isIdle() const { return idle; }

 protected:
  void run() override {
    Record* out = record;
    std::atomic<bool>* stop = &stopRequested;
    out->runs++;
    while (out->holdUntilStop && !*stop) Sleep(1);
    if (!*stop) return;
    Sleep(20);  // still busy when an unwaiting destructor would long have freed the object
    out->stopsSeen++;
  }

 private:
  Record* record;
};

class SelfJoiner : public Thread {
 public:
  ~SelfJoiner() override { join(); }
  std::atomic<bool> returned{false};

 protected:
  void run() override {
    join();  // waiting for itself would never end
    returned = true;
  }
};

TEST(ThreadTest, NothingRunsBeforeResumeAndResumeWithoutAThreadDoesNothing) {
  Record record;
  Worker worker(&record);
  worker.resume();
  worker.join();
  EXPECT_TRUE(worker.isIdle());
  ASSERT_TRUE(worker.create(1024));
  EXPECT_FALSE(worker.create(1024));  // one thread at a time
  Sleep(30);
  EXPECT_EQ(0, record.runs);
  worker.resume();
  worker.join();
  EXPECT_EQ(1, record.runs);
  EXPECT_TRUE(worker.isIdle());
}

TEST(ThreadTest, JoinRightAfterResumeWaitsForTheWholeRun) {
  // The new thread usually has not reached its run lock when join starts.
  Record record;
  Worker worker(&record);
  for (int round = 1; round <= 1000; ++round) {
    ASSERT_TRUE(worker.create(1024)) << "round " << round;
    worker.resume();
    worker.join();
    ASSERT_EQ(round, record.runs) << "round " << round;
    ASSERT_TRUE(worker.isIdle()) << "round " << round;
  }
}

TEST(ThreadTest, DestroyingIdleOrSuspendedThreadRunsNothing) {
  Record record;
  delete new Worker(&record);  // never created
  Worker* suspended = new Worker(&record);
  ASSERT_TRUE(suspended->create(1024));
  delete suspended;  // created, never resumed: its run must never start
  Sleep(30);
  EXPECT_EQ(0, record.runs);
}

TEST(ThreadTest, DestroyingRunningThreadStopsAndWaitsForIt) {
  Record record;
  record.holdUntilStop = true;
  Worker* worker = new Worker(&record);
  ASSERT_TRUE(worker->create(1024));
  worker->resume();
  while (record.runs == 0) Sleep(1);
  EXPECT_FALSE(worker->create(1024));
  worker->resume();  // runs already: nothing
  delete worker;
  EXPECT_EQ(1, record.stopsSeen);
  EXPECT_EQ(1, record.runs);
}

TEST(ThreadTest, JoinFromItsOwnRunReturns) {
  SelfJoiner joiner;
  ASSERT_TRUE(joiner.create(1024));
  joiner.resume();
  joiner.join();
  EXPECT_TRUE(joiner.returned);
}

}  // namespace
