#include "tables/RunPieces.h"

namespace v3 {

RunPieces::RunPieces(const TableCodec& codec, const RecordRun& run, const ReadPiece& read)
    : codec_(codec), run_(run), read_(read) {
  if (run_.provisional) votes_.resize(size_t(count()));
}

bool RunPieces::read(qint64 piece, QByteArray* bytes) {
  if (bytes->size() < kBlank) *bytes = QByteArray(kBlank, '\0');
  const qint64 from = first(piece);
  if (!read_(12 + from * run_.size, (end(piece) - from) * run_.size, bytes, kBlank)) return false;
  if (run_.provisional) {
    votes_[size_t(piece)] = codec_.pieceVote(*bytes, end(piece) - from);
    if (piece == 0) first_ = *bytes;
  }
  return true;
}

KeptBytes RunPieces::record(const QByteArray& bytes, qint64 first, qint64 k) const {
  return KeptBytes(bytes, kBlank + (k - first) * run_.size, run_.size, run_.variant);
}

void RunPieces::moveTo(const QByteArray& bytes, qint64 first, qint64 k, KeptBytes* kept) const {
  if (kept->size() == run_.size && kept->file().isSharedWith(bytes))
    kept->moveTo(kBlank + (k - first) * run_.size);
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

}  // namespace v3
