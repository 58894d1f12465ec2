#include "tables/RunPieces.h"

namespace v3 {

RunPieces::RunPieces(const TableCodec& codec, const RecordRun& run, const ReadPiece& read)
    : codec_(codec), run_(run), read_(read) {
  if (run_.provisional) votes_.resize(size_t(count()));
}

RunPieces::RunPieces(const TableCodec& codec, RecordStream stream, const ReadPiece& read)
    : codec_(codec), stream_(std::move(stream)), read_(read) {
  run_.count = stream_->count();
  for (qint64 k = 0; k < run_.count; ++k)
    if (firsts_.empty() || at(k + 1) - at(firsts_.back()) > kFilePieceBytes) firsts_.push_back(k);
  firsts_.push_back(run_.count);
}

qint64 RunPieces::pieceOf(qint64 k) const {
  if (!stream_) return k / run_.perPiece();
  return qint64(std::upper_bound(firsts_.begin(), firsts_.end(), k) - firsts_.begin()) - 1;
}

bool RunPieces::read(qint64 piece, QByteArray* bytes) {
  if (bytes->size() < kBlank) *bytes = QByteArray(kBlank, '\0');
  const qint64 from = at(first(piece));
  if (!read_(from, at(end(piece)) - from, bytes, kBlank)) return false;
  if (run_.provisional) {
    votes_[size_t(piece)] = codec_.pieceVote(*bytes, end(piece) - first(piece));
    if (piece == 0) first_ = *bytes;
  }
  return true;
}

KeptBytes RunPieces::record(const QByteArray& bytes, qint64 first, qint64 k) const {
  return KeptBytes(bytes, kBlank + at(k) - at(first), sizeOf(k), run_.variant);
}

void RunPieces::moveTo(const QByteArray& bytes, qint64 first, qint64 k, KeptBytes* kept) const {
  if (kept->file().isSharedWith(bytes))
    kept->moveTo(kBlank + at(k) - at(first), sizeOf(k), run_.variant);
  else
    *kept = record(bytes, first, k);
}

std::optional<int> RunPieces::voted() const {
  if (!run_.provisional) return std::nullopt;
  LayoutVote total;
  for (const std::optional<LayoutVote>& v : votes_) {
    if (!v) return std::nullopt;
    total += *v;
  }
  return codec_.votedVariant(total, first_);
}

std::optional<RunPieces> PiecesOfFile(const TableCodec& codec, qint64 fileSize, const ReadPiece& read) {
  std::optional<RunPieces> pieces;
  if (const std::optional<RecordRun> run = codec.recordsInPieces(fileSize, read))
    pieces.emplace(codec, *run, read);
  else if (std::optional<RecordStream> stream = codec.streamInPieces(fileSize, read))
    pieces.emplace(codec, std::move(*stream), read);
  return pieces;
}

}  // namespace v3
