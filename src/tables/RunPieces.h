#pragma once
// A pass over a file's records a piece at a time.
#include <optional>
#include <vector>

#include "tables/Table.h"

namespace v3 {

// Reads the records of a RecordRun, or of a RecordStream, a piece of about
// kFilePieceBytes at a time: piece i holds records [first(i), end(i)), read
// behind 12 blank bytes so that its first record is record 0 of it. For a
// provisional run each piece's vote is kept as it is read, and voted()
// tells, once every piece was, the variant the whole file votes for. Pieces
// may be read on two threads at once, each into a buffer of its own.
class RunPieces {
 public:
  static constexpr qint64 kBlank = 12;

  RunPieces(const TableCodec& codec, const RecordRun& run, const ReadPiece& read);
  // A stream's pieces: whole records, at least one a piece.
  RunPieces(const TableCodec& codec, RecordStream stream, const ReadPiece& read);

  const RecordRun& run() const { return run_; }
  qint64 records() const { return run_.count; }
  qint64 count() const { return stream_ ? qint64(firsts_.size()) - 1 : run_.pieces(); }
  qint64 first(qint64 piece) const { return stream_ ? firsts_[size_t(piece)] : piece * run_.perPiece(); }
  qint64 end(qint64 piece) const {
    return stream_ ? firsts_[size_t(piece) + 1] : std::min(run_.count, first(piece) + run_.perPiece());
  }
  // Where record k starts in the file.
  qint64 at(qint64 k) const { return stream_ ? stream_->starts[size_t(k)] : 12 + k * run_.size; }
  // The piece that holds record k.
  qint64 pieceOf(qint64 k) const;
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
  qint64 sizeOf(qint64 k) const { return stream_ ? at(k + 1) - at(k) : run_.size; }

  const TableCodec& codec_;
  RecordRun run_;
  std::optional<RecordStream> stream_;
  std::vector<qint64> firsts_;  // a stream's pieces: where each starts, and the records' end
  const ReadPiece read_;
  std::vector<std::optional<LayoutVote>> votes_;
  QByteArray first_;  // the first piece, whose first record a tie looks at
};

// The pieces of a file of `fileSize` bytes that `read` reads, where the
// codec can tell how its records lie from pieces of it: records of one size
// (recordsInPieces), else a stream of records (streamInPieces). Nothing
// otherwise, or when a read fails.
std::optional<RunPieces> PiecesOfFile(const TableCodec& codec, qint64 fileSize, const ReadPiece& read);

}  // namespace v3
