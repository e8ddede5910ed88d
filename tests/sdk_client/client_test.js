// SPDX-License-Identifier: GPL-3.0-or-later
// The npm package openrgb-sdk against orvane's SDK server (run by run_client_test.sh):
// node client_test.js PORT. Every step checks what the server reports back; a failure
// throws and the process exits 1.
"use strict";
const { Client } = require("openrgb-sdk");
const assert = require("assert");

const port = Number(process.argv[2]);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// The devices arrive a moment after the program starts: ask until all three are there.
async function waitForDevices(client) {
  for (let i = 0; i < 100; i++) {
    if ((await client.getControllerCount()) === 3) return;
    await sleep(100);
  }
  throw new Error("the three emulated devices never appeared");
}

async function coloursOf(client, id) {
  return (await client.getControllerData(id)).colors;
}

async function main() {
  const client = new Client("orvane client test", port, "127.0.0.1");
  // The client takes protocol 0 when the version reply is later than its time-out (1 s by
  // default): a loaded machine gets a generous one.
  await client.connect(15000);
  assert.ok(client.protocolVersion >= 1 && client.protocolVersion <= 5, `protocol ${client.protocolVersion}`);
  await waitForDevices(client);

  const devices = await client.getAllControllerData();
  assert.deepStrictEqual(devices.map((d) => d.type), [5, 6, 7]);  // keyboard, mouse, mousemat
  for (const d of devices) {
    assert.ok(d.leds.length > 0 && d.colors.length === d.leds.length, `${d.name}: LEDs and colours`);
    assert.strictEqual(d.modes[0].name, "Direct");
    assert.strictEqual(d.zones.length, 1);
  }
  console.log(devices.map((d) => `${d.name}: ${d.leds.length} LEDs, ${d.modes.length} modes`).join("\n"));

  for (const d of devices) {
    client.setCustomMode(d.deviceId);
    const all = d.leds.map((_, i) => ({ red: i % 256, green: 100, blue: 200 }));
    client.updateLeds(d.deviceId, all);
    assert.deepStrictEqual(await coloursOf(client, d.deviceId), all, `${d.name}: every LED`);

    const zone = d.leds.map(() => ({ red: 255, green: 0, blue: 0 }));
    client.updateZoneLeds(d.deviceId, 0, zone);
    assert.deepStrictEqual(await coloursOf(client, d.deviceId), zone, `${d.name}: the zone`);

    client.updateSingleLed(d.deviceId, 1, { red: 0, green: 0, blue: 255 });
    const one = await coloursOf(client, d.deviceId);
    assert.deepStrictEqual(one[1], { red: 0, green: 0, blue: 255 }, `${d.name}: one LED`);
    assert.deepStrictEqual(one[0], { red: 255, green: 0, blue: 0 }, `${d.name}: the others stay`);
    assert.strictEqual((await client.getControllerData(d.deviceId)).activeMode, 0, `${d.name}: Direct`);
  }

  // A device effect by name, then back to Direct.
  const mouse = devices[1];
  await client.updateMode(mouse.deviceId, "Breathing");
  let now = await client.getControllerData(mouse.deviceId);
  assert.strictEqual(now.modes[now.activeMode].name, "Breathing", "the mouse breathes");
  await client.updateMode(mouse.deviceId, "Direct");
  now = await client.getControllerData(mouse.deviceId);
  assert.strictEqual(now.activeMode, 0, "the mouse is back in Direct");

  client.disconnect();
  console.log("1 passed, 0 failed");
}

main().then(
  () => process.exit(0),
  (e) => {
    console.error("FAILED:", e && e.stack ? e.stack : e);
    process.exit(1);
  },
);
