#include "main/Scan.h"

#include "config/Encoding.h"
#include "lang/OutcomeRows.h"

namespace cli {

TLineSearch::TLineSearch(platform::EventLoop& loop, lang::TLangHolder& lang, const CliOptions& probeOptions,
                         TUnitSettings& files, std::string device, LineSink sink)
    : loop_(loop),
      lang_(lang),
      probeOptions_(probeOptions),
      files_(files),
      device_(std::move(device)),
      sink_(std::move(sink)),
      candidates_(config::LineCandidates()) {}

TLineSearch::~TLineSearch() = default;

void TLineSearch::Start() {
  startTick_ = loop_.TickCount();
  StartTry();
}

void TLineSearch::StartTry() {
  try_.reset();
  if (next_ >= candidates_.size()) {
    over_ = true;
    endTick_ = loop_.TickCount();
    return;
  }
  const config::LineChoice& line = candidates_[next_++];
  sink_(lang_.Text(lang::lang_Cli_Trying) + config::Describe(line));
  try_ = std::make_unique<TPortJob>(loop_, lang_, probeOptions_, files_.TryFile(line), device_,
                                    [](std::string_view) {});
  try_->Start();
}

bool TLineSearch::Update() {
  if (over_) return true;
  if (!try_->Update()) return false;
  const auto& end = try_->End();
  if (try_->Result() != Outcome::NotOpened || end) ++opened_;
  // The DTU answered at these settings when its first query got a reply the read took, whatever became of
  // the queries after it.
  const bool answered =
      end && (end->outcome == config::TOutcome::Succeeded || end->command != config::QueryText(1));
  // Every adapter opens at the first candidate: a port that does not open there is not present at all.
  if (answered || opened_ == 0) {
    if (answered) found_ = candidates_[next_ - 1];
    try_.reset();
    over_ = true;
    endTick_ = loop_.TickCount();
    return true;
  }
  StartTry();
  return over_;
}

void TLineSearch::Stop() {
  if (over_) return;
  if (try_) try_->Finish(Outcome::Interrupted, "");
  try_.reset();
  over_ = true;
  endTick_ = loop_.TickCount();
}

uint32_t TLineSearch::ElapsedMs() const { return (over_ ? endTick_ : loop_.TickCount()) - startTick_; }

}  // namespace cli
