# The two commands of Morvi's README. Each installs what it needs first.
.PHONY: run test bench

run:
	@scripts/run

test:
	@scripts/test

# Benchmarks beside their bare floor programs (not one of the two README commands' steps).
bench:
	@scripts/bench
