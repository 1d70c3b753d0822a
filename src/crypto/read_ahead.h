#pragma once

#include <pthread.h>
#include <sched.h>

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "crypto/symmetric.h"
#include "files/system_calls.h"

// Reads a file front to back on a thread of its own, a few pieces ahead of the thread that
// uses them, so that copying the bytes out of the system's cache overlaps whatever the user of
// the pieces does with the ones before. The pieces form a small ring: the reader waits while
// every piece is full, so the memory stays bounded however large the file is.
//
// The bytes are the enciphered blocks of a CBC stream. Once given a cipher of its own
// (ShareDeciphering), the reading thread also deciphers waiting pieces in place whenever it has
// nothing to read, newest first, so that a user slower than the file shares the work.
//
// The reading thread makes system calls only through the table that was in use at Start (so a
// test's table sees them), and never reports anything itself: a failed read ends the ring with
// a piece that carries the error, for the using thread to report in its own way.
//
// One thread uses the pieces: Next, then Release, in turn. Stop (and the destructor) end the
// reading thread and wait for it, also when pieces are still unread.
class CKReadAhead {
 public:
  static constexpr std::size_t kBlock = CKCryptoSymmetric::kBlockSize;

  struct Piece {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;  // bytes read into data; fewer than asked only at the end
    int error = 0;         // errno of a read that failed: the piece holds nothing and is the last
    // Whether the reading thread has deciphered the whole blocks of the piece in place. The
    // user's own cipher then goes on from last_block, the piece's last enciphered block.
    bool deciphered = false;
    std::array<std::uint8_t, kBlock> last_block{};
  };

  CKReadAhead() = default;
  ~CKReadAhead();
  CKReadAhead(const CKReadAhead&) = delete;
  CKReadAhead& operator=(const CKReadAhead&) = delete;

  // Starts reading count bytes from the descriptor's current position, in pieces of
  // piece_bytes (a multiple of the block size), with at most pieces of them read and not yet
  // released. Throws std::bad_alloc or std::system_error when it cannot start; nothing is left
  // running then.
  void Start(files::SystemCalls& calls, int fd, std::uint64_t count, std::size_t piece_bytes,
             std::size_t pieces);
  // Lets the reading thread decipher pieces not yet handed out (all but the first, whose
  // chaining value it does not know): cipher is keyed and in CBC mode like the user's, and
  // belongs to the reading thread until Stop.
  void ShareDeciphering(CKCryptoSymmetric* cipher);
  // Waits for the next piece in file order. False when there is none: count bytes have been
  // handed out, the file ended, a piece with an error was the last, or the reading stopped.
  bool Next(Piece& piece);
  // Gives the piece from the last Next back for reading into. Once the file has been read to
  // its end, the piece's memory is freed instead.
  void Release();
  // Stops the reading (a read or deciphering under way is finished first), waits for the
  // thread, wipes whatever it deciphered and frees the pieces. The descriptor may be closed
  // afterwards. Does nothing when nothing runs.
  void Stop();

 private:
  enum class State { kEmpty, kRead, kDeciphering, kDeciphered, kTaken };
  struct Slot {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    int error = 0;
    State state = State::kEmpty;
    bool holds_text = false;  // deciphered here at some time, so wiped before it is freed
    std::array<std::uint8_t, kBlock> chain{};  // the enciphered block before the piece
    std::array<std::uint8_t, kBlock> last{};   // the piece's own last enciphered block
  };

  static void* RunThread(void* self);
  void Run();
  // Under the lock: the newest piece that the reading thread may decipher, or none.
  Slot* FindDecipheringWork();
  void Free(Slot& slot);

  std::vector<Slot> m_Slots;
  std::size_t m_nPieceBytes = 0;
  std::uint64_t m_nProduced = 0;  // pieces read, counted from the start
  std::uint64_t m_nReleased = 0;  // pieces given back
  bool m_bHolding = false;        // the user holds piece m_nReleased
  bool m_bFinished = false;       // the reader has made its last piece
  bool m_bStop = false;
  CKCryptoSymmetric* m_pCipher = nullptr;
  std::mutex m_Mutex;
  std::condition_variable m_UserWakes;    // a piece was read or deciphered, or the end came
  std::condition_variable m_ReaderWakes;  // a piece was freed, a cipher given, or stop
  // What the reading thread works on, set before it starts.
  files::SystemCalls* m_pCalls = nullptr;
  int m_nFd = -1;
  std::uint64_t m_nCount = 0;
  cpu_set_t m_Processors{};  // where the reading thread may run once it has started
  bool m_bProcessorsKnown = false;
  pthread_t m_Thread{};
  bool m_bThreadStarted = false;
};
