# The two commands of Morvi's README. Each installs what it needs first.
.PHONY: run test

run:
	@scripts/run

test:
	@scripts/test
