# The two set-up commands: `make run` and `make test`. Both install what is missing (as root),
# configure and build a Release build.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

PACKAGES = cmake g++ make pkg-config qt6-base-dev libgl-dev libxxhash-dev \
           fonts-liberation fonts-dejavu-core xvfb xauth xdotool imagemagick \
           clang libclang-rt-14-dev libbenchmark-dev appstream desktop-file-utils libqt6svg6 x11-utils

.PHONY: all deps build run test sanitize tsan fuzz package clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	  else \
	    echo "Missing packages. Run, as root:"; \
	    echo "  apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Builds the program alone, so that a first start does not wait for the tests and benchmarks.
run: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target zel-kav
	cd sample && ../$(BUILD)/window/zel-kav

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every test program (the window's offscreen) under the address and undefined-behaviour
# sanitizers; the real-window test stays with `make test`.
sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DZELKAV_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)-sanitize -j $(JOBS) --target test_store test_lookup test_output test_directory test_window
	cd $(BUILD)-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -E '^e2e'

# The look-up's and the window's tests under the thread sanitizer (clang), which sees the
# background sorting race with the window if it ever reads what the window changes. Qt itself
# is not instrumented: tsan.supp names the reports that come from inside it.
tsan: deps
	CXX=clang++ cmake -S . -B $(BUILD)-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELKAV_TSAN=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)-tsan -j $(JOBS) --target test_lookup test_window
	cd $(BUILD)-tsan && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="suppressions=$(CURDIR)/tsan.supp halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS) -R '^test_(lookup|window)\.'

# A bounded libFuzzer run of each reader of outside files: the data file, seeded with the
# sample, and the correction file, seeded with files the program writes and a dictionary of its
# fixed lines. FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz_data_file_reader fuzz_correction_reader
	mkdir -p $(BUILD)-fuzz/corpus $(BUILD)-fuzz/correction-corpus
	cp sample/KAV-Addresses.dat $(BUILD)-fuzz/corpus/
	cp tests/output/fuzz_seeds/* $(BUILD)-fuzz/correction-corpus/
	$(BUILD)-fuzz/tests/store/fuzz_data_file_reader -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 $(BUILD)-fuzz/corpus
	$(BUILD)-fuzz/tests/output/fuzz_correction_reader -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	  -dict=tests/output/fuzz_correction_reader.dict $(BUILD)-fuzz/correction-corpus

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-tsan $(BUILD)-fuzz
