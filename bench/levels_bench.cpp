// LIBS: vantorix_levels
#include "LevelFileFormat.h"
#include "LevelRec.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

// A full set: 100 levels of 40 aliens each.
std::vector<EditLevelRec> hundredLevels() {
    std::vector<EditLevelRec> levels;
    for (int l = 0; l < 100; ++l) {
        EditLevelRec level;
        level.Name = "Level " + std::to_string(l + 1);
        level.Speed = static_cast<VbInteger>(l % 50 + 1);
        for (int i = 0; i < 40; ++i) {
            EditAlienRec a;
            a.Type = static_cast<VbInteger>(i % 11);
            a.X = static_cast<VbInteger>(20 + 40 * (i % 10));
            a.Y = static_cast<VbInteger>(30 + 30 * (i / 10));
            a.Hits = 1 + i % 9;
            a.Drops = i % 11 - 1;
            a.Shoots = static_cast<VbInteger>(i % 2);
            level.Aliens.push_back(a);
        }
        levels.push_back(level);
    }
    return levels;
}

void readSet(benchmark::State& state, const std::string& bytes, ReaderKind kind) {
    for (auto _ : state) {
        const LevelReadResult r = parseLevelFile(bytes, kind);
        std::vector<LevelRec> table;
        for (const auto& l : r.Levels) {
            table.push_back(toLevelRec(l));
        }
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadText(benchmark::State& state) {
    readSet(state, encodeLevelsText(hundredLevels()), ReaderKind::GameText);
}
void BM_ReadBinary(benchmark::State& state) {
    readSet(state, encodeLevelsBinary(hundredLevels()), ReaderKind::GameBinary);
}
void BM_ReadTextEditor(benchmark::State& state) {
    readSet(state, encodeLevelsText(hundredLevels()), ReaderKind::EditorText);
}
void BM_ReadBinaryEditor(benchmark::State& state) {
    readSet(state, encodeLevelsBinary(hundredLevels()), ReaderKind::EditorBinary);
}

void BM_EncodeText(benchmark::State& state) {
    const auto levels = hundredLevels();
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodeLevelsText(levels));
    }
}
void BM_EncodeBinary(benchmark::State& state) {
    const auto levels = hundredLevels();
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodeLevelsBinary(levels));
    }
}

// The whole save: encode, temporary file, flush to disk, rename.
void saveSet(benchmark::State& state, LevelEncoding encoding) {
    const auto levels = hundredLevels();
    const auto dir = std::filesystem::temp_directory_path() / "vantorix_levels_bench";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "set.dat").string();
    for (auto _ : state) {
        writeLevelFile(path, levels, encoding);
    }
    std::filesystem::remove_all(dir);
}
void BM_SaveTextFile(benchmark::State& state) {
    saveSet(state, LevelEncoding::Text);
}
void BM_SaveBinaryFile(benchmark::State& state) {
    saveSet(state, LevelEncoding::Binary);
}

} // namespace

BENCHMARK(BM_ReadText);
BENCHMARK(BM_ReadBinary);
BENCHMARK(BM_ReadTextEditor);
BENCHMARK(BM_ReadBinaryEditor);
BENCHMARK(BM_EncodeText);
BENCHMARK(BM_EncodeBinary);
BENCHMARK(BM_SaveTextFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBinaryFile)->Unit(benchmark::kMillisecond);
