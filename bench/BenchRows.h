// The rows both engines store in the benchmarks: two short texts and two whole numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kRows = 100000;

struct Row {
  std::string nome;
  std::string classe;
  int32_t nivel;
  int32_t pontos;
};

inline const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = [] {
    std::vector<Row> r;
    r.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
      r.push_back({"Personagem " + std::to_string(i % 1000), "Classe " + std::to_string(i % 7),
                   i % 99, i * 3});
    return r;
  }();
  return rows;
}

}  // namespace bench
