"""Jobs from Python: the same bytes as `lumxip run`, threads in parallel, pickled jobs in
worker processes, and the example script."""

import json
import multiprocessing
import os
import subprocess
import sys
import threading
import time

import numpy as np

import lumxip

PROGRAM = os.environ.get("LUMXIP_PROGRAM", "lumxip")
EXAMPLES = os.environ.get("LUMXIP_EXAMPLES", "examples/python")
README = os.path.join(EXAMPLES, "..", "..", "README.md")
image = np.random.default_rng(3).integers(0, 256, (120, 160), dtype=np.uint8)


def make_tool():
    tool = lumxip.create("Halvex.LumIPOneImageTool")
    tool.Operators.Add(lumxip.create("Halvex.LumIPOneImageConvolve3x3"))
    brighten = lumxip.create("Halvex.LumIPOneImageAddSubtractConst")
    brighten.ConstantValue = 17
    tool.Operators.Add(brighten)
    return tool


def run_tool(tool, pixels=image):
    tool.InputImage = pixels
    tool.Run()
    assert tool.RunStatus.ResultCode == 0, tool.RunStatus.Message
    return np.array(tool.OutputImage)


def test_python_and_the_command_give_the_same_bytes(tmp_path):
    tool = make_tool()
    lumxip.save(tool, tmp_path / "job.json")
    lumxip.write_image(lumxip.image(image), str(tmp_path / "in.png"))
    subprocess.run([PROGRAM, "run", str(tmp_path / "job.json"), "--input",
                    str(tmp_path / "in.png"), "-o", str(tmp_path / "out")],
                   check=True, capture_output=True)
    from_command = np.asarray(lumxip.read_image(str(tmp_path / "out" / "in.OutputImage.png")))
    assert np.array_equal(run_tool(tool), from_command)


def test_run_reads_names_from_stdin_and_writes_json_lines(tmp_path):
    lumxip.save(make_tool(), tmp_path / "job.json")
    lumxip.write_image(lumxip.image(image), str(tmp_path / "a.png"))
    names = f"{tmp_path / 'a.png'}\n\n{tmp_path / 'missing.png'}\n"
    done = subprocess.run([PROGRAM, "run", str(tmp_path / "job.json"), "--input", "-",
                           "--jsonl", "-o", str(tmp_path / "out")],
                          input=names, text=True, capture_output=True)
    assert done.returncode == 1
    lines = [json.loads(line) for line in done.stdout.splitlines()]
    assert [line["input"] for line in lines] == [str(tmp_path / "a.png"),
                                                 str(tmp_path / "missing.png")]
    assert lines[0]["hresult"] == "0x00000000"
    assert lines[0]["run_status"]["ResultCode"] == 0 and lines[0]["elapsed_ms"] >= 0
    assert lines[1]["run_status"] is None and lines[1]["outputs"] == []


def test_two_threads_run_tools_at_the_same_time():
    big = np.random.default_rng(5).integers(0, 256, (1200, 1200), dtype=np.uint8)
    spans = []
    both_ready = threading.Barrier(2)

    def work():
        tool = lumxip.create("Halvex.LumIPOneImageTool")
        median = lumxip.create("Halvex.LumIPOneImageMedianNxM")
        median.KernelWidth, median.KernelHeight = 15, 15
        tool.Operators.Add(median)
        tool.InputImage = big
        both_ready.wait()
        start = time.perf_counter()
        tool.Run()
        spans.append((start, time.perf_counter()))

    threads = [threading.Thread(target=work) for _ in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    (start_a, end_a), (start_b, end_b) = spans
    assert max(start_a, start_b) < min(end_a, end_b)  # both were inside Run at once


def run_pickled_job(tool):
    return run_tool(tool)


def test_pickled_jobs_run_in_a_pool_of_two_processes():
    tool = make_tool()
    with multiprocessing.get_context("spawn").Pool(2) as pool:
        results = pool.map(run_pickled_job, [tool, tool])
    expected = run_tool(tool)
    assert all(np.array_equal(result, expected) for result in results)


def test_the_example_prints_histogram_statistics():
    done = subprocess.run([sys.executable, os.path.join(EXAMPLES, "histogram_chain.py")],
                          check=True, capture_output=True, text=True)
    assert "mean     133.281" in done.stdout and "min/max  20/249" in done.stdout


def test_the_readmes_first_python_example_runs():
    with open(README, encoding="utf-8") as file:
        text = file.read()
    example = text.split("```python\n", 1)[1].split("```", 1)[0]
    exec(compile(example, "README.md", "exec"), {})
