// The reference: SQLite in memory storing the same rows in one transaction with a prepared
// statement, and scanning them back reading every column.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>

#include "bench/BenchRows.h"

namespace {

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
    throw std::runtime_error(sqlite3_errmsg(db));
}

struct Db {
  Db() {
    Check(sqlite3_open(":memory:", &db), db);
    Check(sqlite3_exec(db, "CREATE TABLE t(nome TEXT, classe TEXT, nivel INTEGER, pontos INTEGER)",
                       nullptr, nullptr, nullptr),
          db);
  }
  ~Db() { sqlite3_close(db); }
  void Fill() {
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* st = nullptr;
    Check(sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?,?,?,?)", -1, &st, nullptr), db);
    for (const bench::Row& r : bench::Rows()) {
      sqlite3_bind_text(st, 1, r.nome.data(), static_cast<int>(r.nome.size()), SQLITE_STATIC);
      sqlite3_bind_text(st, 2, r.classe.data(), static_cast<int>(r.classe.size()), SQLITE_STATIC);
      sqlite3_bind_int(st, 3, r.nivel);
      sqlite3_bind_int(st, 4, r.pontos);
      Check(sqlite3_step(st), db);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  }
  sqlite3* db = nullptr;
};

void BM_Sqlite_Insert(benchmark::State& state) {
  for (auto _ : state) {
    Db d;
    d.Fill();
  }
  state.SetItemsProcessed(state.iterations() * bench::kRows);
}
BENCHMARK(BM_Sqlite_Insert)->Unit(benchmark::kMillisecond);

void BM_Sqlite_Scan(benchmark::State& state) {
  Db d;
  d.Fill();
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(d.db, "SELECT nome, classe, nivel, pontos FROM t", -1, &st, nullptr),
        d.db);
  int64_t rows = 0;
  for (auto _ : state) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string a(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                    static_cast<size_t>(sqlite3_column_bytes(st, 0)));
      std::string b(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                    static_cast<size_t>(sqlite3_column_bytes(st, 1)));
      int32_t c = sqlite3_column_int(st, 2);
      int32_t e = sqlite3_column_int(st, 3);
      benchmark::DoNotOptimize(a.data());
      benchmark::DoNotOptimize(b.data());
      benchmark::DoNotOptimize(c + e);
      ++rows;
    }
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  state.SetItemsProcessed(rows);
}
BENCHMARK(BM_Sqlite_Scan)->Unit(benchmark::kMillisecond);

// Deleting one row from the middle by its rowid, the way an in-memory table user would.
void BM_Sqlite_DeleteMiddle(benchmark::State& state) {
  Db d;
  d.Fill();
  sqlite3_stmt* del = nullptr;
  sqlite3_stmt* ins = nullptr;
  Check(
      sqlite3_prepare_v2(d.db, "DELETE FROM t WHERE rowid = (SELECT rowid FROM t LIMIT 1 OFFSET ?)",
                         -1, &del, nullptr),
      d.db);
  Check(sqlite3_prepare_v2(d.db, "INSERT INTO t VALUES('a','b',1,2)", -1, &ins, nullptr), d.db);
  for (auto _ : state) {
    sqlite3_bind_int(del, 1, bench::kRows / 2);
    Check(sqlite3_step(del), d.db);
    sqlite3_reset(del);
    state.PauseTiming();
    Check(sqlite3_step(ins), d.db);
    sqlite3_reset(ins);
    state.ResumeTiming();
  }
  sqlite3_finalize(del);
  sqlite3_finalize(ins);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Sqlite_DeleteMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace
