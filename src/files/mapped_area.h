#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "files/system_calls.h"

namespace files {

// A read-only view of part of an open file, so that its bytes are used where the system keeps
// them instead of being copied out first. A second thread of its own does work handed to it
// for later (so that the user goes on meanwhile) and gives pages back once neither the user
// nor that work needs them, so the view never holds much of the file in memory.
//
// Another program may cut the file short while it is mapped, and a disk may fail to deliver a
// page; touching such a page raises SIGBUS. That signal is caught for the bytes handed to any
// work here and reported as a failure instead; a SIGBUS anywhere else reaches whatever handled
// it before (by default it ends the program, as it would have without us).
//
// One thread uses a view at a time; the second thread makes its system calls through the
// table that was in use at Map.
class MappedArea {
 public:
  // Work on mapped bytes. A failure may interrupt it anywhere (its stack is abandoned), so it
  // must not allocate, lock or own anything: copying or deciphering.
  using Work = void (*)(const std::uint8_t* bytes, std::size_t count, void* context);

  // Pages are given back this many bytes at a time: each time costs the processors a flush of
  // their address caches.
  static constexpr std::size_t kDropStep = 2 * 1024 * 1024;

  MappedArea() = default;
  ~MappedArea();
  MappedArea(const MappedArea&) = delete;
  MappedArea& operator=(const MappedArea&) = delete;

  // Maps length bytes of the file from offset and starts the second thread. False, with
  // nothing mapped, when the system refuses (the caller then reads the file).
  bool Map(SystemCalls& calls, int fd, std::uint64_t offset, std::uint64_t length);
  // Runs work on bytes [at, at + count) of the view. False when the file did not deliver them:
  // the work was interrupted part-way then.
  bool Access(std::uint64_t at, std::size_t count, Work work, void* context);
  // Copies bytes [at, at + count) of the view by reading the file, without bringing their
  // pages into this process: for bytes out of pages that queued work will need. Returns the
  // bytes read, fewer only where the file now ends; -1 with errno set when a read fails.
  ssize_t ReadBytes(std::uint64_t at, void* out, std::size_t count);
  // Work for later, on the second thread, with the same shared context for all of it and a
  // target of its own (where it puts its result).
  using LaterWork = void (*)(const std::uint8_t* bytes, std::size_t count, void* shared,
                             void* target);
  // Queues work on bytes [at, at + count); queued work is done in order. False, with nothing
  // queued, when there is no second thread (the caller then does the work itself).
  bool DoLater(std::uint64_t at, std::size_t count, LaterWork work, void* shared, void* target);
  // Returns once the queued work is done, doing some of it on this thread meanwhile: work not
  // yet started is taken from the back of the queue and done here, with own_shared in place
  // of its shared context (which belongs to the second thread). False when some of the work
  // did not get its bytes since the last Settle (the work after that is skipped).
  bool Settle(void* own_shared);
  // The bytes before at are not wanted any more (by the user; queued work keeps its own).
  void Release(std::uint64_t at);
  // Drops the queued work (waiting for the piece under way), stops the second thread and
  // unmaps; does nothing when nothing is mapped.
  void Unmap();

  bool IsMapped() const { return m_pMapping != nullptr; }
  std::uint64_t Size() const { return m_nLength; }

 private:
  struct Later {
    std::uint64_t at;
    std::size_t count;
    LaterWork work;
    void* shared;
    void* target;
  };

  // The second thread, until Unmap.
  void Run();
  // Under the lock: mapping bytes from which on pages may still be wanted.
  std::size_t FirstWanted() const;
  // Brings in the pages of mapping bytes [begin, begin + count) at once, which is cheaper than
  // touching them one by one; when the file does not deliver them, touching them fails.
  void Populate(std::size_t begin, std::size_t count);
  // Gives back the whole pages of mapping bytes [begin, end).
  void Drop(std::size_t begin, std::size_t end);

  SystemCalls* m_pCalls = nullptr;
  int m_nFd = -1;
  std::uint64_t m_nOffset = 0;         // of the view in the file
  std::uint8_t* m_pMapping = nullptr;  // from the page boundary at or before the offset
  std::size_t m_nMappingLength = 0;
  std::size_t m_nLead = 0;  // bytes of the mapping before the view
  std::uint64_t m_nLength = 0;

  std::mutex m_Mutex;
  std::condition_variable m_SecondWakes;
  std::condition_variable m_UserWakes;
  std::size_t m_nReleased = 0;  // mapping bytes not wanted any more by the user
  std::deque<Later> m_Later;    // the front one stays until it is done
  bool m_bLaterFailed = false;
  bool m_bStop = false;
  std::thread m_Second;
};

}  // namespace files
