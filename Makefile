# Pagewick: the two commands a newcomer needs are `make run` and `make test`.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Under CI (CI=true) warnings in the project's own code are errors.
WERROR ?= $(if $(CI),ON,OFF)

.PHONY: deps configure build run test test-sanitize install package bench bench-converter fuzz clean

deps:
	scripts/install-deps

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DPAGEWICK_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/pagewick

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

# The same tests built with AddressSanitizer and UBSan, in a build folder of their own.
test-sanitize: deps
	@test -f $(BUILD)-sanitize/CMakeCache.txt || cmake -S . -B $(BUILD)-sanitize -G "$(GENERATOR)" \
		-DPAGEWICK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DPAGEWICK_WERROR=$(WERROR)
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest -j $(JOBS) --output-on-failure

# Installs into PREFIX (the configured one, /usr/local, unless given); DESTDIR is honoured.
install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# A .deb of the same files under /usr, in $(BUILD)/.
package: build
	cmake --build $(BUILD) --target package

bench: build
	scripts/bench $(BUILD)

bench-converter: configure
	scripts/install-deps compare
	cmake --build $(BUILD) -j $(JOBS)
	scripts/bench-converter $(BUILD)

fuzz:
	scripts/install-deps fuzz
	scripts/fuzz

clean:
	rm -rf $(BUILD)
