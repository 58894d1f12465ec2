#pragma once
// A pass over a file of records of one size, a piece at a time.
#include <optional>
#include <vector>

#include "tables/Table.h"

namespace v3 {

// Reads the records of a RecordRun a piece at a time: piece i holds records
// [first(i), end(i)), read behind 12 blank bytes so that its first record is
// record 0 of it. For a provisional run each piece's vote is kept as it is
// read, and voted() tells, once every piece was, the variant the whole file
// votes for. Pieces may be read on two threads at once, each into a buffer
// of its own.
class RunPieces {
 public:
  static constexpr qint64 kBlank = 12;

  RunPieces(const TableCodec& codec, const RecordRun& run, const ReadPiece& read);

  const RecordRun& run() const { return run_; }
  qint64 count() const { return run_.pieces(); }
  qint64 first(qint64 piece) const { return piece * run_.perPiece(); }
  qint64 end(qint64 piece) const { return std::min(run_.count, first(piece) + run_.perPiece()); }
  // Reads piece `piece` into *bytes; false when it cannot be read.
  bool read(qint64 piece, QByteArray* bytes);
  // Record k of the piece `bytes` holds, which starts at record `first`.
  KeptBytes record(const QByteArray& bytes, qint64 first, qint64 k) const;
  // Points *kept at record k of the same piece when it is already there.
  void moveTo(const QByteArray& bytes, qint64 first, qint64 k, KeptBytes* kept) const;
  // The variant the votes of every piece choose, once every piece of a
  // provisional run was read; nothing before, and for a run that is not.
  std::optional<int> voted() const;

 private:
  const TableCodec& codec_;
  const RecordRun run_;
  const ReadPiece read_;
  std::vector<std::optional<LayoutVote>> votes_;
  QByteArray first_;  // the first piece, whose first record a tie looks at
};

}  // namespace v3
