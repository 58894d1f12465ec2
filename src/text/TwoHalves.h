#pragma once
// A pass over the records of a large file shared by this thread and one
// more: the command-line tool's export and the layout vote of a table run on
// the machine's second core beside the first.
#include <QtGlobal>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace v3 {

// Whether the machine has a second core to share a pass with.
inline bool HasSecondCore() {
  static const bool second = std::thread::hardware_concurrency() > 1;
  return second;
}

// Calls work(from, to, half) for the items [0, count / 2) as half 0 on this
// thread and [count / 2, count) as half 1 on another, both at once, and
// returns when both are done. With fewer than `least` items, one core, or
// when no thread can be started, both halves run here one after the other.
// `work` may run on two threads at once: what it writes must be its half's own.
template <class Work>
void InTwoHalves(qint64 count, qint64 least, Work&& work) {
  const qint64 cut = count / 2;
  if (count >= least && HasSecondCore()) {
    std::thread other;
    try {
      other = std::thread([&] { work(cut, count, 1); });
    } catch (const std::system_error&) {
    }
    if (other.joinable()) {
      work(qint64(0), cut, 0);
      other.join();
      return;
    }
  }
  work(qint64(0), cut, 0);
  work(cut, count, 1);
}

// Makes the pieces 0..count-1 of a whole, the even ones on this thread and
// the odd ones on another at once, and hands each piece to take() on this
// thread in order: the whole comes out as if one thread made it. make(piece,
// buffer) fills the buffer, which is used again for a later piece, and
// returns false to end the whole at that piece: take() still gets it, no
// later one is taken, and the result is false. With fewer than two pieces,
// one core, or when no thread can be started, every piece is made here.
template <class Buffer, class Make, class Take>
bool InOrderedPieces(qint64 count, Make&& make, Take&& take) {
  const auto alone = [&] {
    Buffer buffer;
    for (qint64 i = 0; i < count; ++i) {
      const bool ok = make(i, buffer);
      take(i, buffer);
      if (!ok) return false;
    }
    return true;
  };
  if (count < 2 || !HasSecondCore()) return alone();
  // The other thread's pieces 1, 3, 5... go into two buffers by turns: it
  // makes the next while this thread takes one.
  struct Slot {
    Buffer buffer;
    bool ok = true, ready = false;
  };
  Slot turns[2];
  std::mutex mutex;
  std::condition_variable changed;
  bool stop = false;
  std::thread other;
  try {
    other = std::thread([&] {
      for (qint64 i = 1; i < count; i += 2) {
        Slot& s = turns[(i / 2) % 2];
        {
          std::unique_lock<std::mutex> lock(mutex);
          changed.wait(lock, [&] { return stop || !s.ready; });
          if (stop) return;
        }
        const bool ok = make(i, s.buffer);
        {
          std::lock_guard<std::mutex> lock(mutex);
          s.ok = ok;
          s.ready = true;
        }
        changed.notify_all();
        if (!ok) return;
      }
    });
  } catch (const std::system_error&) {
    return alone();
  }
  Buffer mine;
  bool ok = true;
  for (qint64 i = 0; i < count && ok; ++i) {
    if (i % 2 == 0) {
      ok = make(i, mine);
      take(i, mine);
      continue;
    }
    Slot& s = turns[(i / 2) % 2];
    {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [&] { return s.ready; });
    }
    ok = s.ok;
    take(i, s.buffer);
    {
      std::lock_guard<std::mutex> lock(mutex);
      s.ready = false;
    }
    changed.notify_all();
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    stop = true;
  }
  changed.notify_all();
  other.join();
  return ok;
}

}  // namespace v3
