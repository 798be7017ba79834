// Items answered on several threads, the answers delivered in the items' order: the batch charts
// its rows on every core and still writes its lines in input order, each as soon as it and every
// line before it are ready.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace solvane::cli {

template <typename Item, typename Answer>
class OrderedPipeline {
 public:
  // Answers an item; called on the worker threads, several at once. What it throws stops the
  // pipeline once the answers before it are delivered, and is thrown again by Push or Drain.
  using Work = std::function<Answer(Item&)>;
  // Takes an answer; called in the items' order, by one thread at a time. Returning false stops the
  // pipeline: nothing more is delivered, and Push refuses further items.
  using Deliver = std::function<bool(Answer&)>;

  // `threads` workers (at least one); at most `window` items (at least one) pushed and not yet
  // delivered at any time, which bounds the memory held.
  OrderedPipeline(int threads, std::size_t window, Work work, Deliver deliver)
      : work_(std::move(work)), deliver_(std::move(deliver)), slots_(window > 0 ? window : 1) {
    for (int i = 0; i < (threads > 0 ? threads : 1); ++i) workers_.emplace_back([this] { Run(); });
  }

  ~OrderedPipeline() {
    {
      const std::lock_guard lock(mutex_);
      closing_ = true;
    }
    work_ready_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  OrderedPipeline(const OrderedPipeline&) = delete;
  OrderedPipeline& operator=(const OrderedPipeline&) = delete;

  // Queues `item`, waiting while the window is full. False, with the item dropped, once stopped.
  // Rethrows what a worker threw.
  bool Push(Item item) {
    std::unique_lock lock(mutex_);
    if (pushed_ - delivered_ >= slots_.size()) {
      // Woken once half the window is free again, not at every answer.
      WaitAsPusher(lock, [&] { return stopped_ || pushed_ - delivered_ <= slots_.size() / 2; });
    }
    Rethrow();
    if (stopped_) return false;
    slots_[pushed_ % slots_.size()] = Slot{std::move(item), std::nullopt, nullptr};
    ++pushed_;
    const bool wake = idle_workers_ > 0;
    lock.unlock();
    if (wake) work_ready_.notify_one();
    return true;
  }

  // Waits until every item pushed has been delivered, or the pipeline stopped. False when stopped.
  // Rethrows what a worker threw.
  bool Drain() {
    std::unique_lock lock(mutex_);
    WaitAsPusher(lock, [&] { return stopped_ || delivered_ == pushed_; });
    Rethrow();
    return !stopped_;
  }

 private:
  struct Slot {
    std::optional<Item> item;
    std::optional<Answer> answer;
    std::exception_ptr failure;  // what the work threw instead of answering

    bool Done() const { return answer || failure; }
  };

  template <typename Ready>
  void WaitAsPusher(std::unique_lock<std::mutex>& lock, Ready ready) {
    pusher_waits_ = true;
    pusher_ready_ = ready;
    pusher_woken_.wait(lock, ready);
    pusher_waits_ = false;
  }

  // Wakes the pushing thread when what it waits for has come.
  void WakePusher() {
    if (pusher_waits_ && pusher_ready_()) pusher_woken_.notify_one();
  }

  void Rethrow() {
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      ++idle_workers_;
      work_ready_.wait(lock, [&] { return closing_ || stopped_ || claimed_ < pushed_; });
      --idle_workers_;
      if (closing_ || stopped_) return;
      Slot& slot = slots_[claimed_++ % slots_.size()];
      Item item = std::move(*slot.item);
      slot.item.reset();
      lock.unlock();
      std::optional<Answer> answer;
      std::exception_ptr failure;
      try {
        answer.emplace(work_(item));
      } catch (...) {
        failure = std::current_exception();  // thrown in its turn, after the answers before it
      }
      lock.lock();
      slot.answer = std::move(answer);
      slot.failure = std::move(failure);
      DeliverReady(lock);
    }
  }

  // Delivers the answers ready at the head, in order, unless another thread already does: that
  // thread looks again for ready answers before it lets go.
  void DeliverReady(std::unique_lock<std::mutex>& lock) {
    if (delivering_) return;
    delivering_ = true;
    while (!stopped_ && delivered_ < claimed_) {
      Slot& head = slots_[delivered_ % slots_.size()];
      if (!head.Done()) break;
      if (head.failure) {
        Stop(std::exchange(head.failure, nullptr));
        break;
      }
      Answer answer = std::move(*head.answer);
      head.answer.reset();
      lock.unlock();
      bool go_on = false;
      try {
        go_on = deliver_(answer);
      } catch (...) {
        lock.lock();
        delivering_ = false;
        Stop(std::current_exception());
        return;
      }
      lock.lock();
      ++delivered_;
      if (!go_on) {
        Stop(nullptr);
        break;
      }
      WakePusher();
    }
    delivering_ = false;
  }

  void Stop(std::exception_ptr failure) {
    if (!failure_) failure_ = std::move(failure);
    stopped_ = true;
    work_ready_.notify_all();
    pusher_woken_.notify_all();
  }

  Work work_;
  Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable work_ready_;    // workers wait here for items
  std::condition_variable pusher_woken_;  // the pushing thread waits here for room or the end
  int idle_workers_ = 0;
  bool pusher_waits_ = false;
  std::function<bool()> pusher_ready_;  // what the pushing thread waits for
  std::vector<Slot> slots_;  // item number n lives in slot n % size
  std::size_t pushed_ = 0, claimed_ = 0, delivered_ = 0;
  bool delivering_ = false;
  bool stopped_ = false;  // by the deliverer, or by a failure
  bool closing_ = false;  // the pipeline is being destroyed
  std::exception_ptr failure_;
  std::vector<std::thread> workers_;  // last: they start once everything else is in place
};

}  // namespace solvane::cli
