// Replays a fuzz target over its corpus and over a fixed number of seeded
// mutations of it (bit flips, truncations, splices, repeated bytes), so every
// build runs each parser over hostile input without needing libFuzzer.
//   fuzz_<name> CORPUS_DIR [MUTATIONS]

#include <dirent.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> ReadCorpus(const std::string& dir) {
  std::vector<std::string> out;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] == '.') continue;
      std::ifstream f(dir + "/" + e->d_name, std::ios::binary);
      std::stringstream ss;
      ss << f.rdbuf();
      out.push_back(ss.str());
    }
    closedir(d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string Mutate(const std::vector<std::string>& corpus, std::mt19937& rng) {
  std::string s = corpus[rng() % corpus.size()];
  const int steps = 1 + int(rng() % 4);
  for (int i = 0; i < steps; ++i) {
    switch (rng() % 6) {
      case 0:  // flip a bit
        if (!s.empty()) s[rng() % s.size()] ^= char(1u << (rng() % 8));
        break;
      case 1:  // truncate
        if (!s.empty()) s.resize(rng() % s.size());
        break;
      case 2: {  // splice with another entry
        const std::string& o = corpus[rng() % corpus.size()];
        if (!o.empty()) s.insert(s.empty() ? 0 : rng() % s.size(), o.substr(rng() % o.size()));
        break;
      }
      case 3:  // repeat a slice
        if (s.size() > 2) {
          size_t a = rng() % s.size(), n = 1 + rng() % std::min<size_t>(64, s.size() - a);
          std::string slice = s.substr(a, n);
          for (int k = 0; k < 8; ++k) s.insert(a, slice);
        }
        break;
      case 4:  // overwrite with an interesting byte
        if (!s.empty()) {
          static const char kBytes[] = {0, '\'', '"', '<', '>', '-', '\r', '\n', char(0xFF), char(0x80), '9'};
          s[rng() % s.size()] = kBytes[rng() % sizeof kBytes];
        }
        break;
      default:  // erase a slice
        if (s.size() > 1) {
          size_t a = rng() % s.size();
          s.erase(a, 1 + rng() % (s.size() - a));
        }
        break;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS]\n", argv[0]);
    return 2;
  }
  const int mutations = argc > 2 ? std::atoi(argv[2]) : 1000;
  std::vector<std::string> corpus = ReadCorpus(argv[1]);
  if (corpus.empty()) corpus.push_back(std::string());
  for (const auto& s : corpus) LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  std::mt19937 rng(20261207);
  for (int i = 0; i < mutations; ++i) {
    const std::string s = Mutate(corpus, rng);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  }
  std::printf("%zu corpus entries and %d mutations replayed\n", corpus.size(), mutations);
  return 0;
}
