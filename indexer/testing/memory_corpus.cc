#include "indexer/testing/memory_corpus.h"

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <set>

#include "indexer/words/stretches.h"
#include <stdexcept>

namespace velmor {

std::string fold(const std::string& word) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  icu::UnicodeString s = nfc->normalize(icu::UnicodeString::fromUTF8(word), status);
  if (U_FAILURE(status)) throw std::runtime_error("normalisation failed");
  std::string out;
  s.foldCase(U_FOLD_CASE_DEFAULT).toUTF8String(out);
  return out;
}

namespace {

struct Gathered {
  std::map<std::string, uint64_t> forms;
  std::vector<Occurrence> at;
  std::vector<WordToken> where;  // of each of `at`, its rank not known yet
  std::set<uint32_t> docs;
};

bool holds_letter_or_digit(const icu::UnicodeString& s) {
  for (int32_t i = 0; i < s.length(); i = s.moveIndex32(i, 1))
    if (u_isalnum(s.char32At(i))) return true;
  return false;
}

}  // namespace

MemoryCorpus::MemoryCorpus(const std::vector<Document>& documents, const std::string& locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale where(locale.empty() ? "root" : locale.c_str());
  std::unique_ptr<icu::BreakIterator> words(icu::BreakIterator::createWordInstance(where, status));
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(where, status));
  if (U_FAILURE(status)) throw std::runtime_error("ICU could not start");

  std::map<std::string, Gathered> by_key;
  for (uint32_t d = 0; d < documents.size(); ++d) {
    const Document& doc = documents[d];
    DocumentInfo info{doc.file_name, doc.title,        0, 0, static_cast<uint32_t>(doc.lines.size()),
                      doc.bytes,     doc.invalid_bytes};
    std::set<std::string> distinct;
    for (uint32_t l = 0; l < doc.lines.size(); ++l) {
      const std::string& line = doc.lines[l];
      icu::UnicodeString text = icu::UnicodeString::fromUTF8(line);
      // UTF-16 index -> byte offset in the line.
      std::vector<uint32_t> byte_at(static_cast<size_t>(text.length()) + 1, 0);
      for (int32_t i = 0, b = 0; i < text.length(); ++i) {
        byte_at[static_cast<size_t>(i)] = static_cast<uint32_t>(b);
        UChar c = text.charAt(i);
        if (U16_IS_LEAD(c)) b += 0;  // the trail unit carries the 4 bytes
        else if (U16_IS_TRAIL(c)) b += 4;
        else b += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        byte_at[static_cast<size_t>(i) + 1] = static_cast<uint32_t>(b);
      }
      words->setText(text);
      for (int32_t start = words->first(), end = words->next(); end != icu::BreakIterator::DONE;
           start = end, end = words->next()) {
        icu::UnicodeString piece = text.tempSubStringBetween(start, end);
        if (!holds_letter_or_digit(piece)) continue;
        std::string form;
        piece.toUTF8String(form);
        std::string key = fold(form);
        Gathered& g = by_key[key];
        ++g.forms[form];
        g.docs.insert(d);
        const uint32_t begin = byte_at[static_cast<size_t>(start)];
        g.at.push_back({d, static_cast<uint32_t>(info.tokens)});
        g.where.push_back({0, l, begin, byte_at[static_cast<size_t>(end)] - begin});
        ++info.tokens;
        distinct.insert(key);
      }
    }
    info.distinct = static_cast<uint32_t>(distinct.size());
    infos_.push_back(info);
    lines_.push_back(doc.lines);
  }

  struct Word {
    WordInfo info;
    std::vector<Occurrence> at;
    std::vector<WordToken> where;
  };
  std::vector<Word> all;
  for (auto& [key, g] : by_key) {
    WordInfo w;
    w.key = key;
    uint64_t best = 0;
    for (const auto& [form, n] : g.forms)
      if (n > best) best = n, w.form = form;
    icu::UnicodeString first(icu::UnicodeString::fromUTF8(w.form).char32At(0));
    first.toUpper(where).toUTF8String(w.initial);
    w.count = g.at.size();
    w.documents = static_cast<uint32_t>(g.docs.size());
    all.push_back({std::move(w), std::move(g.at), std::move(g.where)});
  }
  std::stable_sort(all.begin(), all.end(), [&](const auto& a, const auto& b) {
    UErrorCode s = U_ZERO_ERROR;
    return collator->compareUTF8(a.info.form, b.info.form, s) == UCOL_LESS;
  });
  sequences_.resize(infos_.size());
  tokens_.resize(infos_.size());
  for (uint32_t d = 0; d < infos_.size(); ++d) {
    sequences_[d].resize(infos_[d].tokens);
    tokens_[d].resize(infos_[d].tokens);
  }
  for (Word& w : all) {
    const uint32_t rank = static_cast<uint32_t>(words_.size());
    for (size_t i = 0; i < w.at.size(); ++i) {
      const Occurrence& o = w.at[i];
      sequences_[o.doc][o.ordinal] = rank;
      tokens_[o.doc][o.ordinal] = {rank, w.where[i].line, w.where[i].begin, w.where[i].length};
    }
    words_.push_back(std::move(w.info));
    occurrences_.push_back(std::move(w.at));
  }
  for (uint32_t d = 0; d < infos_.size(); ++d)
    stretch_starts_.push_back(velmor::stretch_starts(documents[d], tokens_[d]));
}

}  // namespace velmor
