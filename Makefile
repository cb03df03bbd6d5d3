# Set-up, build, run and test. Every target installs missing packages first.
BUILD ?= build
JOBS ?= 2
DEBS = cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgtest-dev libbenchmark-dev \
       xvfb xdotool imagemagick x11-utils xauth fonts-arphic-uming python3 desktop-file-utils \
       pkg-config libfluidsynth-dev timgm6mb-soundfont libxml2-utils musescore3 poppler-utils libzip-dev \
       dpkg-dev file lintian appstream qt6-qpa-plugins clang libclang-rt-14-dev \
       qt6-svg-dev fonts-dejavu-core

.PHONY: deps build run test test-asan fuzz bench package clean

deps:
	@missing=""; for p in $(DEBS); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" = 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/quillnote

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package (CPack, dependencies from dpkg-shlibdeps): $(BUILD)/quillnote_<version>_<arch>.deb
package: build
	cd $(BUILD) && cpack -G DEB

# The headless libraries and their tests again, with AddressSanitizer and
# UndefinedBehaviorSanitizer: every reader of files runs under them.
ASAN_BUILD ?= build-asan
ASAN_TESTS = quillnote_core_tests quillnote_input_tests quillnote_documents_tests quillnote_staff_tests \
             quillnote_score_tests quillnote_program_tests quillnote_import_tests
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 $(SANITIZE)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)"
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(ASAN_TESTS)
	@for t in $(ASAN_TESTS); do \
	  echo "== $$t (sanitizers)"; \
	  QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    $(ASAN_BUILD)/tests/$$t --gtest_brief=1 || exit 1; \
	done

# libFuzzer targets, one per reader of outside input, built by clang in their
# own folder. Each runs FUZZ_SECONDS from the seed corpus in fuzz/corpus (new
# inputs go to build-fuzz/corpus, so the repository's seeds stay as they are).
# A crash leaves crash-* in build-fuzz/ and stops the run.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = sidecar bitmap settings listfile page_reader musicxml
FUZZ_FLAGS = -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

fuzz: deps
	ASAN_OPTIONS=detect_leaks=0 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DQUILLNOTE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)"
	ASAN_OPTIONS=detect_leaks=0 cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix quillnote_fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  echo "== fuzz $$t ($(FUZZ_SECONDS) s)"; mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  (cd $(FUZZ_BUILD) && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    fuzz/quillnote_fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    corpus/$$t $(CURDIR)/fuzz/corpus/$$t 2>fuzz-$$t.log) || { tail -40 $(FUZZ_BUILD)/fuzz-$$t.log; exit 1; }; \
	  grep -E "stat::number_of_executed_units|Done" $(FUZZ_BUILD)/fuzz-$$t.log | tr '\n' ' '; echo; \
	done

bench: build
	$(BUILD)/bench/quillnote_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_chord_staff_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_undo_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_key_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_document_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_export_bench
	$(BUILD)/bench/quillnote_score_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_print_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_import_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD)
