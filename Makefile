# Set-up, build, run and test. Every target installs missing packages first.
BUILD ?= build
JOBS ?= 2
DEBS = cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgtest-dev libbenchmark-dev \
       xvfb xdotool imagemagick x11-utils xauth fonts-arphic-uming python3 desktop-file-utils \
       pkg-config libfluidsynth-dev timgm6mb-soundfont libxml2-utils musescore3 poppler-utils \
       dpkg-dev file lintian appstream qt6-qpa-plugins

.PHONY: deps build run test test-asan bench package clean

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
             quillnote_score_tests quillnote_program_tests
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

bench: build
	$(BUILD)/bench/quillnote_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_chord_staff_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_undo_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_key_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_document_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/quillnote_export_bench
	$(BUILD)/bench/quillnote_score_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD)
