/* SPDX-License-Identifier: GPL-3.0-or-later */
/* The desk on a phone: one WebSocket to Lumière; every state it sends is shown at once, every
   press is one command. Lumière decides: a press changes nothing here until its state comes back. */
"use strict";

(function () {
  const $ = (id) => document.getElementById(id);
  const lamps = Array.from(document.querySelectorAll(".lampe"));
  const effects = Array.from(document.querySelectorAll(".effet"));
  const commands = () => Array.from(document.querySelectorAll(".commande"));
  const master = $("general");
  const measuring = new URLSearchParams(location.search).has("mesure");

  let socket = null;
  let state = null;
  let retry = 500;
  let lastBeats = -1;
  let touchingMaster = false;
  let masterSent = 0;
  let masterTimer = 0;
  let messageTimer = 0;

  function say(text, lasting) {
    const line = $("message");
    line.textContent = text;
    clearTimeout(messageTimer);
    if (!lasting) messageTimer = setTimeout(() => { line.textContent = ""; }, 4000);
  }

  function link(text, ok) {
    const line = $("liaison");
    line.textContent = text;
    line.classList.toggle("ok", ok);
  }

  function enable() {
    const open = socket && socket.readyState === WebSocket.OPEN;
    const busy = state && state.occupe;
    for (const control of commands()) control.disabled = !open || !!busy;
  }

  function send(command) {
    if (!socket || socket.readyState !== WebSocket.OPEN) return;
    socket.send(JSON.stringify(command));
  }

  function pressed(button, on) {
    button.setAttribute("aria-pressed", on ? "true" : "false");
  }

  function showSequences(names, running) {
    const list = $("sequences");
    const shown = Array.from(list.children).map((item) => item.dataset.nom);
    if (shown.length !== names.length || shown.some((name, i) => name !== names[i])) {
      list.replaceChildren(...names.map((name) => {
        const item = document.createElement("li");
        item.dataset.nom = name;
        const label = document.createElement("span");
        label.textContent = name;
        const run = document.createElement("button");
        run.className = "commande";
        run.textContent = "Lancer";
        run.setAttribute("aria-label", "Lancer " + name);
        run.addEventListener("click", () => send({ c: "lancer", nom: name }));
        item.append(label, run);
        return item;
      }));
    }
    $("aucune").hidden = names.length > 0;
    $("en-cours").hidden = !running;
  }

  function show(s) {
    state = s;
    s.lampes.forEach((on, i) => {
      const lamp = lamps[i];
      if (lamp.classList.contains("allumee") === on) return;
      lamp.classList.toggle("allumee", on);
      lamp.setAttribute("aria-label", "Lampe " + (i + 1) + (on ? " : allumée" : " : éteinte"));
    });
    const onOff = $("marche");
    pressed(onOff, s.marche);
    onOff.classList.toggle("allume", s.marche);
    s.effets.forEach((on, i) => pressed(effects[i], on));
    if (!touchingMaster) master.value = s.general;
    $("general-valeur").textContent = touchingMaster ? master.value : s.general;
    showSequences(s.sequences, s.sequenceEnCours);
    $("musique").hidden = !s.musique;
    if (s.musique) {
      $("tempo").textContent = s.bpm > 0 ? Math.round(s.bpm) + " BPM" : "— BPM";
      if (lastBeats >= 0 && s.battements > lastBeats) {
        const beat = $("battement");
        beat.classList.remove("flash");
        void beat.offsetWidth; /* restarts the flash */
        beat.classList.add("flash");
      }
    }
    lastBeats = s.battements;
    const busy = $("occupe");
    busy.hidden = !s.occupe;
    busy.textContent = s.occupe ? "Commandes indisponibles : " + s.occupe : "";
    enable();
    if (measuring) send({ vu: s.n });
  }

  function connect() {
    link("Connexion…", false);
    socket = new WebSocket((location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/ws");
    socket.addEventListener("open", () => {
      retry = 500;
      link("Connecté", true);
      enable();
    });
    socket.addEventListener("message", (event) => {
      let message;
      try { message = JSON.parse(event.data); } catch (e) { return; }
      if (message.t === "etat") show(message);
      else if (message.t === "refus") say(message.raison, false);
      else if (message.t === "fin") say(message.raison, true);
    });
    socket.addEventListener("close", (event) => {
      socket = null;
      enable();
      if (event.code === 1008) {
        /* No session any more (a new code): the pairing page. */
        link("Déconnecté", false);
        if (event.reason) say(event.reason, true);
        setTimeout(() => location.reload(), 1500);
        return;
      }
      if (event.code === 4429) {
        link("Trop de téléphones", false);
        if (event.reason) say(event.reason, true);
        setTimeout(connect, 5000);
        return;
      }
      link("Connexion perdue, nouvelle tentative…", false);
      setTimeout(connect, retry);
      retry = Math.min(retry * 2, 5000);
    });
  }

  $("marche").addEventListener("click", () => send({ c: "marche" }));
  $("stop").addEventListener("click", () => send({ c: "stop" }));
  $("arreter").addEventListener("click", () => send({ c: "arreter" }));
  for (const button of effects)
    button.addEventListener("click", () => send({ c: "effet", n: Number(button.dataset.effet) }));

  /* The master follows the finger at most every 60 ms, and its last position always goes. */
  function sendMaster() {
    masterTimer = 0;
    masterSent = Date.now();
    send({ c: "general", n: Number(master.value) });
  }
  master.addEventListener("pointerdown", () => { touchingMaster = true; });
  master.addEventListener("input", () => {
    $("general-valeur").textContent = master.value;
    if (masterTimer) return;
    const wait = Math.max(0, 60 - (Date.now() - masterSent));
    masterTimer = setTimeout(sendMaster, wait);
  });
  master.addEventListener("change", () => {
    touchingMaster = false;
    clearTimeout(masterTimer);
    sendMaster();
  });

  enable();
  connect();
})();
