// Worker threads: suspended start, stop flag, join against a fresh resume, destruction in
// every state.
#include <gtest/gtest.h>

#include <atomic>

#include "lib/Thread.h"

namespace {

// Lives outside the workers so that it can be checked after a worker is gone.
struct Record {
  std::atomic<int> runs{0};
  std::atomic<int> stopsSeen{0};
  std::atomic<bool> holdUntilStop{false};
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
};

class Worker : public Thread {
 public:
  explicit Worker(Record& record) : record(record) {}
  ~Worker() override {
    requestStop();
    join();
  }
  bool isIdle() const { return idle; }

 protected:
  void run() override {
    running = true;
    record.runs++;
    while (record.holdUntilStop && !stopRequested) Sleep(1);
    if (stopRequested) record.stopsSeen++;
  }

 private:
  Record& record;
};

// Has no destructor of its own and touches none of its own members once started, so that
// ~Thread alone has to stop and wait for it.
class BareWorker : public Thread {
 public:
  explicit BareWorker(Record* record) : record(record) {}

 protected:
  void run() override {
    Record* out = record;
    std::atomic<bool>* stop = &stopRequested;
    out->started = true;
    while (!*stop) Sleep(1);
    Sleep(20);  // still busy when an unwaiting destructor would long have freed the object
    out->finished = true;
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
    join();
    returned = true;
  }
};

TEST(ThreadTest, NothingRunsBeforeResume) {
  Record record;
  Worker worker(record);
  ASSERT_TRUE(worker.create(1024));
  EXPECT_FALSE(worker.create(1024));  // one thread at a time
  Sleep(30);
  EXPECT_EQ(0, record.runs);
  EXPECT_TRUE(worker.isIdle());
  worker.resume();
  worker.join();
  EXPECT_EQ(1, record.runs);
  EXPECT_TRUE(worker.isIdle());
}

TEST(ThreadTest, RunSeesStopRequestAndSecondResumeDoesNothing) {
  Record record;
  record.holdUntilStop = true;
  Worker worker(record);
  ASSERT_TRUE(worker.create(1024));
  worker.resume();
  while (record.runs == 0) Sleep(1);
  EXPECT_FALSE(worker.isIdle());
  EXPECT_FALSE(worker.create(1024));
  worker.resume();
  worker.requestStop();
  worker.join();
  EXPECT_EQ(1, record.runs);
  EXPECT_EQ(1, record.stopsSeen);
  EXPECT_TRUE(worker.isIdle());
}

TEST(ThreadTest, JoinRightAfterResumeWaitsForTheWholeRun) {
  // The new thread usually has not reached its run lock when join starts.
  Record record;
  Worker worker(record);
  for (int round = 1; round <= 1000; ++round) {
    ASSERT_TRUE(worker.create(1024)) << "round " << round;
    worker.resume();
    worker.join();
    ASSERT_EQ(round, record.runs) << "round " << round;
    ASSERT_TRUE(worker.isIdle()) << "round " << round;
  }
}

TEST(ThreadTest, ResumeAndJoinWithoutAThreadDoNothing) {
  Record record;
  Worker worker(record);
  worker.resume();
  EXPECT_TRUE(worker.isIdle());
  worker.join();
  ASSERT_TRUE(worker.create(1024));
  worker.resume();
  worker.join();
  EXPECT_EQ(1, record.runs);
}

TEST(ThreadTest, DestroyingInEveryStateIsSafe) {
  Record record;
  delete new Worker(record);  // never created

  Worker* suspended = new Worker(record);
  ASSERT_TRUE(suspended->create(1024));
  delete suspended;  // created, never resumed: its run must never start
  Sleep(30);
  EXPECT_EQ(0, record.runs);

  Worker* ended = new Worker(record);
  ASSERT_TRUE(ended->create(1024));
  ended->resume();
  ended->join();
  delete ended;
  EXPECT_EQ(1, record.runs);
}

TEST(ThreadTest, DestroyingRunningThreadStopsAndWaitsForIt) {
  Record record;
  BareWorker* worker = new BareWorker(&record);
  ASSERT_TRUE(worker->create(1024));
  worker->resume();
  while (!record.started) Sleep(1);
  delete worker;
  EXPECT_TRUE(record.finished);
}

TEST(ThreadTest, JoinFromItsOwnRunReturns) {
  SelfJoiner joiner;
  ASSERT_TRUE(joiner.create(1024));
  joiner.resume();
  joiner.join();
  EXPECT_TRUE(joiner.returned);
}

}  // namespace
