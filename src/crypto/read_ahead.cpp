#include "crypto/read_ahead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/secure_zero.h"

CKReadAhead::~CKReadAhead() {
  Stop();
}

void CKReadAhead::Start(files::SystemCalls& calls, int fd, std::uint64_t count,
                        std::size_t piece_bytes, std::size_t pieces) {
  Stop();
  try {
    m_Slots.resize(std::max<std::size_t>(pieces, 1));
    for (Slot& slot : m_Slots) {
      // Not zeroed: every byte handed out has been read into it first.
      slot.data.reset(new std::uint8_t[piece_bytes]);
    }
  } catch (...) {
    m_Slots.clear();
    throw;
  }
  m_nPieceBytes = piece_bytes;
  m_nProduced = 0;
  m_nReleased = 0;
  m_bHolding = false;
  m_bFinished = count == 0;
  m_bStop = false;
  m_pCipher = nullptr;
  m_pCalls = &calls;
  m_nFd = fd;
  m_nCount = count;

  pthread_attr_t attributes;
  if (const int error = pthread_attr_init(&attributes); error != 0) {
    m_Slots.clear();
    throw std::system_error(error, std::system_category(), "read ahead");
  }
  // A new thread tends to be queued behind the one that starts it, which is about to derive
  // a key for milliseconds: it starts on another processor and may go anywhere afterwards.
  m_bProcessorsKnown = sched_getaffinity(0, sizeof m_Processors, &m_Processors) == 0;
  if (m_bProcessorsKnown) {
    cpu_set_t others = m_Processors;
    if (const int here = sched_getcpu(); here >= 0 && here < CPU_SETSIZE) {
      CPU_CLR(here, &others);
    }
    if (CPU_COUNT(&others) != 0 && CPU_COUNT(&others) != CPU_COUNT(&m_Processors)) {
      pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
    }
  }
  const int error = pthread_create(&m_Thread, &attributes, &CKReadAhead::RunThread, this);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    m_Slots.clear();
    throw std::system_error(error, std::system_category(), "read ahead");
  }
  m_bThreadStarted = true;
}

void* CKReadAhead::RunThread(void* self) {
  auto* reader = static_cast<CKReadAhead*>(self);
  if (reader->m_bProcessorsKnown) {
    pthread_setaffinity_np(pthread_self(), sizeof reader->m_Processors, &reader->m_Processors);
  }
  reader->Run();
  return nullptr;
}

void CKReadAhead::ShareDeciphering(CKCryptoSymmetric* cipher) {
  {
    const std::lock_guard lock(m_Mutex);
    if (!m_bThreadStarted) {
      return;
    }
    m_pCipher = cipher;
  }
  m_ReaderWakes.notify_one();
}

CKReadAhead::Slot* CKReadAhead::FindDecipheringWork() {
  if (m_pCipher == nullptr) {
    return nullptr;
  }
  // Newest first, so that the user, who takes the oldest, seldom waits for one; the first
  // piece of all waits for the user, who alone knows the chaining value before it.
  const std::uint64_t first = std::max<std::uint64_t>(m_nReleased + (m_bHolding ? 1 : 0), 1);
  for (std::uint64_t number = m_nProduced; number-- > first;) {
    Slot& slot = m_Slots[number % m_Slots.size()];
    if (slot.state == State::kRead && slot.error == 0 && slot.size >= kBlock) {
      return &slot;
    }
  }
  return nullptr;
}

void CKReadAhead::Run() {
  files::SystemCalls& calls = *m_pCalls;
  const int fd = m_nFd;
  const std::size_t piece_bytes = m_nPieceBytes;
  const std::size_t ring = m_Slots.size();
  std::uint64_t left = m_nCount;
  std::uint64_t number = 0;
  std::array<std::uint8_t, kBlock> previous_last{};
  for (;;) {
    Slot* slot = nullptr;
    bool reading = false;
    CKCryptoSymmetric* cipher = nullptr;
    {
      std::unique_lock lock(m_Mutex);
      m_ReaderWakes.wait(lock, [&] {
        reading = left != 0 && number - m_nReleased < ring;
        slot = reading ? &m_Slots[number % ring] : FindDecipheringWork();
        // Read to the end and nothing left to decipher: done.
        return m_bStop || slot != nullptr || left == 0;
      });
      if (m_bStop || slot == nullptr) {
        break;
      }
      if (!reading) {
        slot->state = State::kDeciphering;
        slot->holds_text = true;
        cipher = m_pCipher;
      }
    }

    if (!reading) {
      const std::size_t blocks = slot->size / kBlock;
      cipher->SetIV(slot->chain.data());
      cipher->DecryptBlocks(slot->data.get(), slot->data.get(), blocks);
      {
        const std::lock_guard lock(m_Mutex);
        slot->state = State::kDeciphered;
      }
      m_UserWakes.notify_one();
      continue;
    }

    std::uint8_t* data = slot->data.get();
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(piece_bytes, left));
    std::size_t got = 0;
    int error = 0;
    while (got < wanted) {
      ssize_t n = -1;
      try {
        n = calls.Read(fd, data + got, wanted - got);
      } catch (...) {
        errno = EIO;  // a table that throws is a failing read, not the end of the program
      }
      if (n < 0) {
        if (errno == EINTR) {
          continue;
        }
        error = errno != 0 ? errno : EIO;
        break;
      }
      if (n == 0) {
        break;  // the file is shorter than it was when the stream began
      }
      got += static_cast<std::size_t>(n);
    }
    left -= wanted;
    if (error != 0 || got < wanted) {
      left = 0;
    }
    std::array<std::uint8_t, kBlock> last{};
    if (const std::size_t whole = got - got % kBlock; error == 0 && whole != 0) {
      std::memcpy(last.data(), data + whole - kBlock, kBlock);
    }
    {
      const std::lock_guard lock(m_Mutex);
      slot->size = error != 0 ? 0 : got;
      slot->error = error;
      slot->state = State::kRead;
      slot->chain = previous_last;
      slot->last = last;
      m_nProduced = ++number;
      m_bFinished = left == 0;
    }
    previous_last = last;
    m_UserWakes.notify_one();
  }
  {
    const std::lock_guard lock(m_Mutex);
    m_bFinished = true;
  }
  m_UserWakes.notify_one();
}

bool CKReadAhead::Next(Piece& piece) {
  piece = Piece{};
  std::unique_lock lock(m_Mutex);
  if (m_Slots.empty() || m_bHolding) {
    return false;
  }
  const std::size_t ring = m_Slots.size();
  m_UserWakes.wait(lock, [&] {
    return (m_nProduced > m_nReleased &&
            m_Slots[m_nReleased % ring].state != State::kDeciphering) ||
           (m_bFinished && m_nProduced == m_nReleased);
  });
  if (m_nProduced == m_nReleased) {
    return false;
  }
  Slot& slot = m_Slots[m_nReleased % ring];
  piece.data = slot.data.get();
  piece.size = slot.size;
  piece.error = slot.error;
  piece.deciphered = slot.state == State::kDeciphered;
  piece.last_block = slot.last;
  slot.state = State::kTaken;
  m_bHolding = true;
  return true;
}

void CKReadAhead::Release() {
  std::unique_ptr<std::uint8_t[]> freed;
  bool wipe = false;
  {
    const std::lock_guard lock(m_Mutex);
    if (!m_bHolding) {
      return;
    }
    m_bHolding = false;
    Slot& slot = m_Slots[m_nReleased % m_Slots.size()];
    slot.state = State::kEmpty;
    if (m_bFinished) {
      // Nothing will be read into it again.
      freed = std::move(slot.data);
      wipe = slot.holds_text;
      slot.holds_text = false;
    }
    ++m_nReleased;
  }
  m_ReaderWakes.notify_one();
  if (freed != nullptr && wipe) {
    platform::SecureZero(freed.get(), m_nPieceBytes);
  }
}

void CKReadAhead::Stop() {
  if (m_bThreadStarted) {
    {
      const std::lock_guard lock(m_Mutex);
      m_bStop = true;
    }
    m_ReaderWakes.notify_one();
    pthread_join(m_Thread, nullptr);
    m_bThreadStarted = false;
  }
  for (Slot& slot : m_Slots) {
    if (slot.data != nullptr && slot.holds_text) {
      platform::SecureZero(slot.data.get(), m_nPieceBytes);
    }
  }
  m_Slots.clear();
  m_bHolding = false;
  m_bFinished = true;
  m_pCipher = nullptr;
}
