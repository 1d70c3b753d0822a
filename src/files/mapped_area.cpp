#include "files/mapped_area.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <optional>

namespace files {
namespace {

// The bytes this thread's Access is working on, and where to go when touching them fails.
struct BusErrorGuard {
  sigjmp_buf resume;
  const std::uint8_t* begin = nullptr;
  const std::uint8_t* end = nullptr;
  volatile std::sig_atomic_t active = 0;
};

thread_local BusErrorGuard t_guard;
const std::size_t kPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
struct sigaction g_previous_action {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  BusErrorGuard& guard = t_guard;
  const auto* address = static_cast<const std::uint8_t*>(info->si_addr);
  if (guard.active != 0 && address >= guard.begin && address < guard.end) {
    guard.active = 0;
    siglongjmp(guard.resume, 1);
  }
  // Not ours: as the program would have had it without this handler.
  if ((g_previous_action.sa_flags & SA_SIGINFO) != 0 && g_previous_action.sa_sigaction != nullptr) {
    g_previous_action.sa_sigaction(signal, info, context);
    return;
  }
  if (g_previous_action.sa_handler != SIG_DFL && g_previous_action.sa_handler != SIG_IGN) {
    g_previous_action.sa_handler(signal);
    return;
  }
  // The default action: returning repeats the fault, which then ends the program.
  std::signal(SIGBUS, SIG_DFL);
}

void InstallBusErrorHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = &OnBusError;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &g_previous_action);
  });
}

// Runs work(bytes, count) with a SIGBUS on the pages of [bytes, bytes + count) turned into
// false.
template <class Work>
bool RunGuarded(const std::uint8_t* bytes, std::size_t count, const Work& work) {
  BusErrorGuard& guard = t_guard;
  const auto first = reinterpret_cast<std::uintptr_t>(bytes);
  guard.begin = reinterpret_cast<const std::uint8_t*>(first - first % kPage);
  guard.end = bytes + count;
  // The signal mask is saved too: leaving the handler by siglongjmp then unblocks SIGBUS.
  if (sigsetjmp(guard.resume, 1) != 0) {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    return false;
  }
  guard.active = 1;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  work(bytes, count);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  guard.active = 0;
  return true;
}

}  // namespace

MappedArea::~MappedArea() {
  Unmap();
}

bool MappedArea::Map(SystemCalls& calls, int fd, std::uint64_t offset, std::uint64_t length) {
  Unmap();
  const std::uint64_t lead = offset % kPage;
  if (length == 0 || length > SIZE_MAX - lead) {
    return false;
  }
  InstallBusErrorHandler();
  void* mapping = calls.MapFile(fd, static_cast<off_t>(offset - lead), lead + length);
  if (mapping == nullptr) {
    return false;
  }
  m_pCalls = &calls;
  m_nFd = fd;
  m_nOffset = offset;
  m_pMapping = static_cast<std::uint8_t*>(mapping);
  m_nLead = static_cast<std::size_t>(lead);
  m_nLength = length;
  m_nMappingLength = static_cast<std::size_t>(lead + length);
  m_nReleased = 0;
  m_bStop = false;
  try {
    m_Second = std::thread(&MappedArea::Run, this);
  } catch (...) {
    // Without the thread, nothing is done for later: the user does all the work.
  }
  return true;
}

std::size_t MappedArea::FirstWanted() const {
  if (m_Later.empty()) {
    return m_nReleased;
  }
  return std::min(m_nReleased, m_nLead + static_cast<std::size_t>(m_Later.front().at));
}

void MappedArea::Drop(std::size_t begin, std::size_t end) {
  begin += (kPage - begin % kPage) % kPage;
  end -= end % kPage;
  if (end > begin) {
    // The pages stay in the system's cache; only this process lets go of them.
    m_pCalls->Advise(m_pMapping + begin, end - begin, MADV_DONTNEED);
  }
}

void MappedArea::Populate(std::size_t begin, std::size_t count) {
  const std::size_t first = begin - begin % kPage;
  while (m_pCalls->Advise(m_pMapping + first, begin + count - first, MADV_POPULATE_READ) != 0 &&
         (errno == EINTR || errno == EAGAIN)) {
  }
}

void MappedArea::Run() {
  // The whole view is about to be read: the system starts reading what it does not hold yet.
  m_pCalls->Advise(m_pMapping, m_nMappingLength, MADV_WILLNEED);
  std::size_t dropped = 0;  // pages before it have been given back
  // Pages that the user has gone past and no queued work needs, after the last queued work,
  // given back up to here.
  std::size_t dropped_after_work = 0;
  for (;;) {
    std::optional<Later> later;
    bool skip = false;
    std::size_t drop_to = 0;
    std::size_t drop_after_from = 0;
    std::size_t drop_after_to = 0;
    {
      std::unique_lock lock(m_Mutex);
      m_SecondWakes.wait(lock, [&] {
        const std::size_t wanted = FirstWanted();
        drop_to = wanted - wanted % kDropStep;
        drop_after_from = drop_after_to = 0;
        if (!m_Later.empty()) {
          const Later& last = m_Later.back();
          drop_after_from = std::max(dropped_after_work,
                                     m_nLead + static_cast<std::size_t>(last.at + last.count));
          drop_after_to = m_nReleased - m_nReleased % kDropStep;
          if (drop_after_to < drop_after_from + kDropStep) {
            drop_after_to = drop_after_from;
          }
        }
        return m_bStop || !m_Later.empty() || drop_to > dropped || drop_after_to > drop_after_from;
      });
      if (m_bStop) {
        return;
      }
      if (!m_Later.empty()) {
        later = m_Later.front();
        skip = m_bLaterFailed;
      }
    }
    if (drop_to > dropped) {
      Drop(dropped, drop_to);
      dropped = drop_to;
    }
    if (drop_after_to > drop_after_from) {
      Drop(drop_after_from, drop_after_to);
      dropped_after_work = drop_after_to;
    }
    if (later) {
      Populate(m_nLead + static_cast<std::size_t>(later->at), later->count);
      const bool delivered =
          skip || RunGuarded(m_pMapping + m_nLead + later->at, later->count,
                             [&](const std::uint8_t* bytes, std::size_t n) {
                               later->work(bytes, n, later->shared, later->target);
                             });
      {
        const std::lock_guard lock(m_Mutex);
        m_Later.pop_front();
        m_bLaterFailed = m_bLaterFailed || !delivered;
      }
      m_UserWakes.notify_one();
    }
  }
}

bool MappedArea::Access(std::uint64_t at, std::size_t count, Work work, void* context) {
  if (m_pMapping == nullptr || at > m_nLength || count > m_nLength - at) {
    return false;
  }
  return count == 0 ||
         RunGuarded(m_pMapping + m_nLead + at, count,
                    [&](const std::uint8_t* bytes, std::size_t n) { work(bytes, n, context); });
}

bool MappedArea::DoLater(std::uint64_t at, std::size_t count, LaterWork work, void* shared,
                         void* target) {
  if (!m_Second.joinable() || at > m_nLength || count > m_nLength - at || count == 0) {
    return false;
  }
  try {
    const std::lock_guard lock(m_Mutex);
    m_Later.push_back({at, count, work, shared, target});
  } catch (...) {
    return false;
  }
  m_SecondWakes.notify_one();
  return true;
}

ssize_t MappedArea::ReadBytes(std::uint64_t at, void* out, std::size_t count) {
  if (m_pMapping == nullptr || at > m_nLength || count > m_nLength - at ||
      count > static_cast<std::size_t>(SSIZE_MAX)) {
    errno = EINVAL;
    return -1;
  }
  auto* bytes = static_cast<std::uint8_t*>(out);
  std::size_t got = 0;
  while (got < count) {
    const ssize_t n =
        m_pCalls->ReadAt(m_nFd, bytes + got, count - got, static_cast<off_t>(m_nOffset + at + got));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      return -1;
    }
    if (n == 0) {
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool MappedArea::Settle(void* own_shared) {
  std::unique_lock lock(m_Mutex);
  // The front one may be under way on the second thread; the others wait for it. Taken from
  // the back, the work done here covers a range that grows downwards: its pages are given back
  // a step at a time (the second thread gives back only what lies before its own work).
  std::size_t low = SIZE_MAX;
  std::size_t high = 0;
  while (m_Later.size() > 1 && !m_bLaterFailed) {
    const Later later = m_Later.back();
    m_Later.pop_back();
    lock.unlock();
    const std::size_t begin = m_nLead + static_cast<std::size_t>(later.at);
    Populate(begin, later.count);
    const bool delivered =
        RunGuarded(m_pMapping + begin, later.count, [&](const std::uint8_t* bytes, std::size_t n) {
          later.work(bytes, n, own_shared, later.target);
        });
    low = std::min(low, begin);
    high = std::max(high, begin + later.count);
    if (high - low >= kDropStep) {
      Drop(low, high);
      high = low;
    }
    lock.lock();
    m_bLaterFailed = m_bLaterFailed || !delivered;
  }
  m_UserWakes.wait(lock, [&] { return m_Later.empty(); });
  if (high > low) {
    Drop(low, high);
  }
  const bool delivered = !m_bLaterFailed;
  m_bLaterFailed = false;
  return delivered;
}

void MappedArea::Release(std::uint64_t at) {
  if (m_pMapping == nullptr) {
    return;
  }
  const std::size_t released = m_nLead + static_cast<std::size_t>(std::min(at, m_nLength));
  {
    const std::lock_guard lock(m_Mutex);
    if (released <= m_nReleased) {
      return;
    }
    const bool new_step = released / kDropStep != m_nReleased / kDropStep;
    m_nReleased = released;
    if (!new_step) {
      return;  // nothing to give back yet: the second thread sleeps on
    }
  }
  m_SecondWakes.notify_one();
}

void MappedArea::Unmap() {
  if (m_Second.joinable()) {
    {
      const std::lock_guard lock(m_Mutex);
      m_bStop = true;
      if (!m_Later.empty()) {
        // The piece under way is the front one: it finishes, the rest never start.
        m_Later.erase(m_Later.begin() + 1, m_Later.end());
      }
    }
    m_SecondWakes.notify_one();
    m_Second.join();
  }
  if (m_pMapping != nullptr) {
    m_pCalls->Unmap(m_pMapping, m_nMappingLength);
    m_pMapping = nullptr;
  }
  m_nMappingLength = m_nLead = m_nReleased = 0;
  m_nLength = m_nOffset = 0;
  m_nFd = -1;
  m_Later.clear();
  m_bLaterFailed = false;
}

}  // namespace files
