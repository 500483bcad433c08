# The commands of Morvi's README. Each installs what it needs first.
#   make release NOTEST=1   builds the release without running the tests first
.PHONY: run test bench release screenshots

run:
	@scripts/run

test:
	@scripts/test

# Benchmarks beside their bare floor programs.
bench:
	@scripts/bench

release:
	@scripts/release $(if $(NOTEST),--no-test)

screenshots:
	@scripts/screenshots
